#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "app/Program.h"
#include "plan/EndSignals.h"
#include "plan/PortSettings.h"

#include <QApplication>
#include <QCoreApplication>

#include <csignal>

namespace {

constexpr int kUsageError = 2;

} // namespace

int main(int argc, char *argv[])
{
    // The command line is read before any display is needed: help, version
    // and a mistaken line all end on a console.
    std::optional<vq::ProgramOptions> options;
    {
        QCoreApplication console(argc, argv);
        vq::nameApplication();
        options = vq::parseArguments(console); // help and version print and exit here
    }
    if (!options)
        return kUsageError;

    QApplication app(argc, argv);
    vq::nameApplication();
    vq::installChineseFonts();
    QApplication::setWindowIcon(vq::appIcon());
    // Wayland shells find the menu entry, and so the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vq4471r.Programmer"));

    vq::DialogMessenger messenger;
    vq::Program program(messenger);
    if (!program.start(*options))
        return 1;
    messenger.setParent(program.window());
    // The terminal it was started from closing, or a kill: a write in
    // progress finishes first, since a half-written radio is worse than a
    // late end.
    vq::EndSignals endSignals;
    QObject::connect(&endSignals, &vq::EndSignals::received, &app, [&program] {
        program.programmer().transfers().closeWhenWritten([&program] {
            program.window()->close();
            QCoreApplication::exit(0);
        });
    });
    endSignals.catchSignals({SIGHUP, SIGTERM, SIGINT});
    return app.exec();
}
