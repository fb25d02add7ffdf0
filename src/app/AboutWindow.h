#pragma once

#include <QDialog>

class QLabel;

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

protected:
    void changeEvent(QEvent *event) override;

private:
    QString disclaimerText() const;
    QString versionText() const;
    // Which file the table lives in (by default a hidden folder of the
    // user's): shortened in the middle when long, whole in its tool tip.
    void showStore();

    Messenger &messenger_;
    QLabel *disclaimer_ = nullptr;
    QLabel *version_ = nullptr;
    QLabel *store_ = nullptr;
    QString storePath_;
};

} // namespace vq
