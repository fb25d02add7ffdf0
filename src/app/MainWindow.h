#pragma once

#include "app/CardPrinter.h"
#include "plan/PlanFrames.h"
#include "plan/Language.h"

#include <QDate>
#include <QMainWindow>
#include <QPointer>

namespace vq {

class ChannelGrid;
class MainForm;
class MainMenus;
class Messenger;
class Programmer;

// The main window 启动窗体: the form (grid, pickers, status line, progress
// bar) under the menus. It holds the commands the menus start, opens the
// satellite windows, and turns what comes back into messages.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(Programmer &programmer, Messenger &messenger, QWidget *parent = nullptr);
    ~MainWindow() override;

    // Start-up after the window is shown: date, port 1 (else port 2 after
    // a message), then the start-up write.
    void startUp();

    Programmer &programmer() { return programmer_; }
    ChannelGrid *grid() const;

    // Menu commands.
    void openChannelFile();
    void saveChannelFile();
    void exportCsv();
    void importCsv();
    void printCard();
    void exportPdf();
    void showPortDialog();
    void showPortDevices();
    void showAirRules();
    void showBandChart();
    // The radio's channels against the plan, after 与对讲机比较.
    void showComparison(const std::vector<FieldDifference> &differences, qint64 snapshot);
    void showHistory();
    void showInstructions();
    void showAbout();
    void saveTrace();
    void saveReport();

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
    // Closing: the window's size, place and state, to restore next time.
    void placeToKeep(const QByteArray &place);

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void showDate();

    Programmer &programmer_;
    Messenger &messenger_;
    CardPrinter cardPrinter_;
    MainForm *form_ = nullptr;
    MainMenus *menus_ = nullptr;
    QDate today_;
    QPointer<QWidget> portDialog_;
    QPointer<QWidget> portDevices_;
    QPointer<QWidget> history_;
    QPointer<QWidget> instructions_;
    QPointer<QWidget> about_;
    QPointer<QWidget> bandChart_;
};

} // namespace vq
