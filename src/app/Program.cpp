#include "app/Program.h"

#include "app/Captions.h"

#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "plan/LaunchOptions.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

namespace vq {

std::optional<ProgramOptions> parseArguments(QCoreApplication &app)
{
    ProgramOptions options;
    QCommandLineParser parser;
    // The default store on a line of its own: in an option's text a long
    // path would be broken where the help wraps.
    parser.setApplicationDescription(
        QStringLiteral("VQ4471R 信道设置系统: channel programmer for the VQ4471R radio\n\n"
                       "Default channel database: %1")
            .arg(QDir::toNativeSeparators(options.database)));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    QCommandLineOption db(QStringLiteral("db"),
                          QStringLiteral("Channel database file (created when missing)."),
                          QStringLiteral("FILE"));
    const PortChoice defaults;
    QCommandLineOption com1(QStringLiteral("com1"),
                            QStringLiteral("Device of serial port 1 for this run (else the remembered "
                                           "one, else %1).")
                                .arg(defaults.device(1)),
                            QStringLiteral("DEVICE"));
    QCommandLineOption com2(QStringLiteral("com2"),
                            QStringLiteral("Device of serial port 2 for this run (else the remembered "
                                           "one, else %1).")
                                .arg(defaults.device(2)),
                            QStringLiteral("DEVICE"));
    QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Write every character on the serial link, with its time, to FILE "
                       "as it happens (for a support request)."),
        QStringLiteral("FILE"));
    QCommandLineOption lang(QStringLiteral("lang"),
                            QStringLiteral("Interface language for this run: zh (the default) or en."),
                            QStringLiteral("LANGUAGE"));
    parser.addOptions({db, com1, com2, trace, lang});

    // A word the program does not use (a file name meant as the store, a
    // misspelt option) would otherwise start it on the default store.
    QString mistake;
    if (!parser.parse(app.arguments())) {
        const QStringList unknown = parser.unknownOptionNames();
        mistake = unknown.isEmpty()
                      ? parser.errorText()
                      : texts::kUnknownOption +
                            (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) +
                            unknown.first();
    } else if (parser.isSet(help)) {
        parser.showHelp(0);
    } else if (parser.isSet(version)) {
        parser.showVersion();
    } else if (!parser.positionalArguments().isEmpty()) {
        mistake = texts::kStrayArgument + parser.positionalArguments().first();
    } else {
        mistake = launchMistake(parser, {QStringLiteral("db"), QStringLiteral("com1"), QStringLiteral("com2"),
                                         QStringLiteral("trace"), QStringLiteral("lang")});
    }
    if (!mistake.isEmpty()) {
        std::fputs(qPrintable(mistake + QLatin1Char('\n') + parser.helpText()), stderr);
        return std::nullopt;
    }
    if (parser.isSet(db))
        options.database = parser.value(db);
    options.com1 = parser.value(com1);
    options.com2 = parser.value(com2);
    options.trace = parser.value(trace);
    options.language = parser.value(lang);
    return options;
}

Program::Program(Messenger &messenger) : messenger_(messenger) {}

Program::~Program() = default;

bool Program::start(const ProgramOptions &options)
{
    // First, so that even a store that cannot be opened is said in the
    // language chosen. A one-run choice is not remembered.
    useRunLanguage(options.language, settings_);
    const Result opened = programmer_.openStore(options.database);
    for (const Notice &notice : opened.notices)
        messenger_.show(notice);
    if (!opened.ok)
        return false;
    if (const std::optional<Notice> cutShort = programmer_.transfers().writeCutShort())
        messenger_.show(*cutShort);
    // Before usePorts(): the remembered choice is not written back.
    programmer_.transfers().setVerifyAfterWrite(settings_.loadVerifyAfterWrite());
    programmer_.airCheck().useSettings(&settings_);
    programmer_.ports().usePorts(resolvePorts(options.com1, options.com2, settings_), &settings_);
    // Before the port opens, so the trace holds the whole conversation; a
    // trace that cannot be written is said, and the program goes on.
    if (!options.trace.isEmpty())
        for (const Notice &notice : programmer_.traces().startTrace(options.trace).notices)
            messenger_.show(notice);
    fitTextsOfEveryWindow();
    window_ = std::make_unique<MainWindow>(programmer_, messenger_);
    QObject::connect(window_.get(), &MainWindow::languageChosen, window_.get(),
                     [this](Language language) { chooseLanguage(language); });
    // Where the user left it, on a screen that is there now; at first the
    // size it was drawn for.
    window_->restoreGeometry(settings_.loadWindowPlace());
    QObject::connect(window_.get(), &MainWindow::placeToKeep, window_.get(),
                     [this](const QByteArray &place) { settings_.saveWindowPlace(place); });
    // Visible first, so the user sees the program while the port opens and
    // the start-up write begins.
    window_->show();
    window_->startUp();
    programmer_.adapterOffer().start();
    return true;
}

void Program::chooseLanguage(Language language)
{
    useLanguage(language);
    settings_.saveLanguage(languageCode(language));
}

} // namespace vq
