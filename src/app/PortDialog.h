#pragma once

#include <QWidget>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace vq {

class Messenger;
class Programmer;

// The window Dialog: moves the link to serial port 1 or 2. It keeps no
// state of its own; the port in use is the link's.
class PortDialog : public QWidget {
    Q_OBJECT
public:
    PortDialog(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);

    // OKButton: the chosen port, or nothing when no option is selected.
    void accept();

private:
    Programmer &programmer_;
    Messenger &messenger_;
    QButtonGroup *options_ = nullptr;
};

} // namespace vq
