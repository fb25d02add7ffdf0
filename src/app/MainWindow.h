#pragma once

#include "app/CardPrinter.h"
#include "app/Captions.h"
#include "plan/BulkEdit.h"
#include "plan/Result.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>

#include <array>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;

namespace vq {

class ChannelGrid;
class ChannelTableModel;
class Messenger;
class Programmer;

// The main window 启动窗体: the channel grid with its pickers, the status
// line, the progress bar and the menus. It wires each control to the
// programmer and turns what comes back into messages.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up after the window is shown: date, port 1 (else port 2 after
    // a message), then the start-up write.
    void startUp();

    Programmer &programmer() { return programmer_; }
    ChannelGrid *grid() const { return grid_; }

    // Menu commands.
    void openChannelFile();
    void saveChannelFile();
    void exportCsv();
    void importCsv();
    void printCard();
    void exportPdf();
    void showPortDialog();
    void showPortDevices();
    void showHistory();
    void showInstructions();
    void showAbout();
    void saveTrace();

    // A picker selection, as if the user had chosen `text` in Combo<picker>.
    void pick(int picker, const QString &text);

    // The 编辑 menu's spreadsheet commands on the grid's selection.
    void copyCells();
    void pasteCells();
    void showChangeMany();
    void showPresets();

signals:
    // The user picked a language in 系统设置 → 语言.
    void languageChosen(vq::Language language);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void buildLanguageMenu();
    void showDate();
    void tell(const Result &result);
    void setTransferMenusEnabled(bool enabled);
    void showUndoState();
    void buildEditActions(QMenu *edit);
    // The selected cells of shown rows; the current cell when none is selected.
    std::vector<Cell> selectedCells() const;
    std::vector<int> selectedRows() const;
    // Rows the find text or 隐藏空信道 leaves out are hidden, never removed:
    // the store and the order the radio gets stay as they are.
    void showMatchingRows();

    Programmer &programmer_;
    Messenger &messenger_;
    CardPrinter cardPrinter_;
    ChannelTableModel *model_ = nullptr;
    ChannelGrid *grid_ = nullptr;
    QLabel *status_ = nullptr; // Label2
    QLabel *date_ = nullptr;   // Label8
    QProgressBar *progress_ = nullptr;
    std::array<QComboBox *, 7> pickers_{};
    QAction *readAction_ = nullptr;
    QAction *writeAction_ = nullptr;
    QAction *undoAction_ = nullptr;
    QAction *redoAction_ = nullptr;
    QLineEdit *find_ = nullptr;
    QAction *hideEmpty_ = nullptr;
    QMenu *systemMenu_ = nullptr;
    QAction *exitAction_ = nullptr;
    QMenu *helpMenu_ = nullptr;
    std::array<QAction *, 2> languageActions_{}; // 中文, English
    QDate today_;
    QPointer<QWidget> portDialog_;
    QPointer<QWidget> portDevices_;
    QPointer<QWidget> history_;
    QPointer<QWidget> instructions_;
    QPointer<QWidget> about_;
};

} // namespace vq
