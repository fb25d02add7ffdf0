#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "app/Program.h"

#include <QApplication>
#include <QCoreApplication>

#include <string_view>

namespace {

bool asksForText(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg(argv[i]);
        if (arg == "-h" || arg == "--help" || arg == "-?" || arg == "--help-all" || arg == "-v" ||
            arg == "--version")
            return true;
    }
    return false;
}

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("vq4471r"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
}

} // namespace

int main(int argc, char *argv[])
{
    // Help and version must print on a console without any display.
    if (asksForText(argc, argv)) {
        QCoreApplication console(argc, argv);
        nameApplication();
        vq::parseArguments(console); // prints and exits
        return 0;
    }

    QApplication app(argc, argv);
    nameApplication();
    const vq::ProgramOptions options = vq::parseArguments(app);

    vq::installChineseFonts();
    vq::installChineseTranslation();
    QApplication::setWindowIcon(vq::appIcon());

    vq::DialogMessenger messenger;
    vq::Program program(messenger);
    if (!program.start(options))
        return 1;
    messenger.setParent(program.window());
    return app.exec();
}
