#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "app/Messenger.h"
#include "app/Program.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vq4471r"));
    QApplication::setApplicationVersion(QStringLiteral(VQ_VERSION));
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
