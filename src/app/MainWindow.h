#pragma once

#include "radio/LinkController.h"
#include "radio/SerialLink.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QProgressBar;

namespace vq {

class ChannelGrid;
class ChannelStore;
class ChannelTableModel;
class Messenger;

// The main window 启动窗体: the channel grid with its pickers, the status
// line, the progress bar and the menus. It owns the serial link and the
// link controller and turns their reports into messages.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(ChannelStore &store, Messenger &messenger, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up after the window is shown: date, port 1 (else port 2 after
    // a message), first channel numbered "1", "A", and the write delay.
    void startUp();

    SerialLink &link() { return link_; }
    LinkController &controller() { return controller_; }
    ChannelGrid *grid() const { return grid_; }
    ChannelStore &store() { return store_; }
    Messenger &messenger() { return messenger_; }

    // Menu commands.
    void openChannelFile();
    void saveChannelFile();
    void showPortDialog();
    void showInstructions();
    void showAbout();

    // A picker selection, as if the user had chosen `text` in Combo<picker>.
    void pick(int picker, const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void onCellEdited(int row, int column);
    void onNotice(const Notice &notice);
    void setTransferMenusEnabled(bool enabled);
    void reportStoreFailure();
    // Channel files hold rows 1 … 16; says so when the table is shorter.
    bool hasChannelFileRows();

    ChannelStore &store_;
    Messenger &messenger_;
    SerialLink link_;
    LinkController controller_;
    ChannelTableModel *model_ = nullptr;
    ChannelGrid *grid_ = nullptr;
    QLabel *status_ = nullptr; // Label2
    QLabel *date_ = nullptr;   // Label8
    QProgressBar *progress_ = nullptr;
    std::array<QComboBox *, 7> pickers_{};
    QAction *readAction_ = nullptr;
    QAction *writeAction_ = nullptr;
    QMenu *systemMenu_ = nullptr;
    QAction *exitAction_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    QPointer<QWidget> portDialog_;
    QPointer<QWidget> instructions_;
    QPointer<QWidget> about_;
};

} // namespace vq
