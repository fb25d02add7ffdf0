#include "app/Program.h"

#include "app/MainWindow.h"
#include "app/Messenger.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace vq {

ProgramOptions parseArguments(QCoreApplication &app)
{
    ProgramOptions options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("VQ4471R 信道设置系统: channel programmer for the VQ4471R radio"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption db(QStringLiteral("db"),
                          QStringLiteral("Channel database file (created when missing)."),
                          QStringLiteral("FILE"), options.database);
    QCommandLineOption com1(QStringLiteral("com1"), QStringLiteral("Device of serial port 1."),
                            QStringLiteral("DEVICE"), options.com1);
    QCommandLineOption com2(QStringLiteral("com2"), QStringLiteral("Device of serial port 2."),
                            QStringLiteral("DEVICE"), options.com2);
    parser.addOptions({db, com1, com2});
    parser.process(app);
    options.database = parser.value(db);
    options.com1 = parser.value(com1);
    options.com2 = parser.value(com2);
    return options;
}

Program::Program(Messenger &messenger) : messenger_(messenger) {}

Program::~Program() = default;

bool Program::start(const ProgramOptions &options)
{
    const Result opened = programmer_.openStore(options.database);
    for (const Notice &notice : opened.notices)
        messenger_.show(notice);
    if (!opened.ok)
        return false;
    programmer_.link().setDevicePaths(options.com1, options.com2);
    window_ = std::make_unique<MainWindow>(programmer_, messenger_);
    // Visible first, so the user sees the program while the port opens and
    // the start-up write begins.
    window_->show();
    window_->startUp();
    return true;
}

} // namespace vq
