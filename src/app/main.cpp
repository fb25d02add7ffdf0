#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "app/Program.h"

#include <QApplication>
#include <QCoreApplication>

#include <string_view>

namespace {

constexpr int kUsageError = 2;

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
        // Prints and exits, unless the rest of the line is a mistake.
        return vq::parseArguments(console) ? 0 : kUsageError;
    }

    QApplication app(argc, argv);
    nameApplication();
    const std::optional<vq::ProgramOptions> options = vq::parseArguments(app);
    if (!options)
        return kUsageError;

    vq::installChineseFonts();
    vq::installChineseTranslation();
    QApplication::setWindowIcon(vq::appIcon());

    vq::DialogMessenger messenger;
    vq::Program program(messenger);
    if (!program.start(*options))
        return 1;
    messenger.setParent(program.window());
    return app.exec();
}
