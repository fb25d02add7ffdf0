#pragma once

#include <QDialog>

namespace vq {

class Messenger;

// The about box frmAbout: name, version and purpose of the program, where
// to ask for help, the channel database in use, and a button that starts
// the system information tool.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    AboutWindow(Messenger &messenger, const QString &storePath, QWidget *parent = nullptr);

    // What follows "技术咨询：": where this program's documentation lives.
    static const QString kSupportPointer;

    // cmdSysInfo: starts the tool, or says that there is none; the about
    // box stays open either way.
    void startSysInfo();

private:
    Messenger &messenger_;
};

} // namespace vq
