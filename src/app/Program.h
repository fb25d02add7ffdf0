#pragma once

#include "plan/Language.h"
#include "plan/Programmer.h"

#include <QString>

#include <memory>
#include <optional>

class QCoreApplication;

namespace vq {

class MainWindow;
class Messenger;

struct ProgramOptions {
    QString database = DataFolders::defaultStorePath();
    // Empty when not given: the remembered device, else the default.
    QString com1;
    QString com2;
    // The link trace written live to this file; empty for none.
    QString trace;
    // "zh" or "en" for this run; empty for the remembered choice.
    QString language;
};

// Reads the command line; --help and --version print and exit here. A
// mistake is printed with the usage and gives no options.
std::optional<ProgramOptions> parseArguments(QCoreApplication &app);

// The program from its store to the running start-up write.
class Program {
public:
    explicit Program(Messenger &messenger);
    ~Program();

    // Opens the store (a message and false when it cannot be used), then
    // shows the main window and runs its start-up.
    bool start(const ProgramOptions &options);

    Programmer &programmer() { return programmer_; }
    MainWindow *window() const { return window_.get(); }
    // The language chosen in the menu: used at once and remembered.
    void chooseLanguage(Language language);

private:
    Messenger &messenger_;
    PortSettings settings_;
    Programmer programmer_;
    std::unique_ptr<MainWindow> window_;
};

} // namespace vq
