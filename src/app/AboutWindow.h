#pragma once

#include <QDialog>

class QLabel;

namespace vq {

class Messenger;

// The about box frmAbout: name, version and purpose of the program, where
// to ask for help, and a button that starts the system information tool.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(Messenger &messenger, QWidget *parent = nullptr);

    // What follows "技术咨询：": where this program's documentation lives.
    static const QString kSupportPointer;

    // cmdSysInfo: starts the tool, or says that there is none; the about
    // box stays open either way.
    void startSysInfo();

protected:
    void changeEvent(QEvent *event) override;

private:
    QString disclaimerText() const;

    Messenger &messenger_;
    QLabel *disclaimer_ = nullptr;
};

} // namespace vq
