#pragma once

#include "plan/PortInventory.h"

#include <QTimer>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

namespace vq {

class CableCheck;
class Messenger;
class Programmer;
class RadioFinder;

// The device window PortDevices: the serial devices the machine has, kept
// current while it is open, which of them the two ports use, the radio
// finder, the cable check, and the bytes the link moves.
class PortDevicesWindow : public QWidget {
    Q_OBJECT
public:
    PortDevicesWindow(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);
    ~PortDevicesWindow() override;

    // Reads the device list again, looking through the processes too (the
    // window relists every second, and looks at the processes less often).
    void refresh();
    const QList<PortEntry> &entries() const { return entries_; }
    // The selected device's path; empty when none is selected.
    QString selectedPath() const;
    // The name to remember for it: its stable name when it has one.
    QString selectedRememberedName() const;
    bool selectPath(const QString &path);

    void assignSelected(int port);
    void assignTyped(int port);
    void findRadio();
    void checkCable();

protected:
    void changeEvent(QEvent *event) override;

private:
    void showCaptions();
    void relist();
    void showEntries();
    void showCounts();
    void report(const QStringList &lines);

    Programmer &programmer_;
    Messenger &messenger_;
    QList<PortEntry> entries_;
    QTableWidget *table_ = nullptr;
    QLineEdit *otherPath_ = nullptr;
    QPlainTextEdit *findings_ = nullptr;
    QLabel *counts_ = nullptr;
    QPushButton *findButton_ = nullptr;
    QPushButton *checkButton_ = nullptr;
    QTimer listTimer_;
    QTimer countTimer_;
    RadioFinder *finder_ = nullptr;
    CableCheck *check_ = nullptr;
    int refreshes_ = 0;
};

} // namespace vq
