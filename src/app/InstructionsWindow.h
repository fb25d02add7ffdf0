#pragma once

#include <QDialog>

class QLabel;

namespace vq {

// The operating instructions frmAbout1: one fixed text and a button that
// closes the window (so do Enter and Esc).
class InstructionsWindow : public QDialog {
    Q_OBJECT
public:
    explicit InstructionsWindow(QWidget *parent = nullptr);

    // The 384 characters of lblDescription, blanks included.
    static QString instructionsText();

protected:
    void changeEvent(QEvent *event) override;

private:
    QLabel *text_ = nullptr;
};

} // namespace vq
