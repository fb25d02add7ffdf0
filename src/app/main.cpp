#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "channels/ChannelStore.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vq4471r"));
    QApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("VQ4471R 信道设置系统 (channel programmer)"));
    parser.addHelpOption();
    parser.addVersionOption();
    QCommandLineOption dbOption(QStringLiteral("db"), QStringLiteral("Channel database file."),
                                QStringLiteral("FILE"), QStringLiteral("vq3390R.db"));
    QCommandLineOption com1Option(QStringLiteral("com1"), QStringLiteral("Device of serial port 1."),
                                  QStringLiteral("DEVICE"), QStringLiteral("/dev/ttyS0"));
    QCommandLineOption com2Option(QStringLiteral("com2"), QStringLiteral("Device of serial port 2."),
                                  QStringLiteral("DEVICE"), QStringLiteral("/dev/ttyS1"));
    parser.addOption(dbOption);
    parser.addOption(com1Option);
    parser.addOption(com2Option);
    parser.process(app);

    vq::installChineseFonts();
    vq::installChineseTranslation();
    QApplication::setWindowIcon(vq::appIcon());

    vq::DialogMessenger messenger;
    vq::ChannelStore store;
    const QString dbPath = parser.value(dbOption);
    if (!store.open(dbPath)) {
        messenger.show(vq::Notice{vq::Notice::Icon::Exclamation, vq::texts::kSystemTitle,
                                  vq::texts::kStoreCannotOpen + QDir::toNativeSeparators(dbPath), {}});
        return 1;
    }

    vq::MainWindow window(store, messenger);
    messenger.setParent(&window);
    window.link().setDevicePaths(parser.value(com1Option), parser.value(com2Option));
    // Visible first, so the user sees the program while the port opens and
    // the start-up write begins.
    window.show();
    window.startUp();
    return app.exec();
}
