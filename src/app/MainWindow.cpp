#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/AirRulesDialog.h"
#include "app/BandChartWindow.h"
#include "app/CompareDialog.h"
#include "plan/LinkTexts.h"
#include "plan/SupportReport.h"
#include "plan/StoreTexts.h"
#include "app/Appearance.h"
#include "app/Captions.h"
#include "app/ChangeManyDialog.h"
#include "app/ChannelGrid.h"
#include "app/HistoryWindow.h"
#include "app/InstructionsWindow.h"
#include "app/MainForm.h"
#include "app/MainMenus.h"
#include "app/Messenger.h"
#include "app/PortDevicesWindow.h"
#include "app/PortDialog.h"
#include "app/PresetDialog.h"
#include "channels/ChannelTableModel.h"
#include "channels/ValueDomains.h"
#include "plan/Programmer.h"
#include "plan/FileTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>

namespace vq {

namespace {

const QString kTraceFilter = QStringLiteral("text(*.txt)");

// One instance of a satellite window: shown again (and raised) while it is
// open; a closed one deletes itself and the pointer reads null, so the next
// use builds it afresh with what is true then.
template <typename Make> void showOnce(QPointer<QWidget> &window, Make make)
{
    if (!window) {
        window = make();
        window->setAttribute(Qt::WA_DeleteOnClose);
    }
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

MainWindow::MainWindow(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QMainWindow(parent), programmer_(programmer), messenger_(messenger), cardPrinter_(programmer.editor())
{
    setObjectName(QStringLiteral("启动窗体"));
    setWindowTitle(QStringLiteral("VQ4471R"));
    setWindowIcon(appIcon());
    form_ = new MainForm(programmer_, messenger_, this);
    setCentralWidget(form_);
    // The bar in the size the form was drawn with, whatever the desktop's
    // font: at the first size every menu title is in view.
    menuBar()->setFont(songFont(9));
    menus_ = new MainMenus(*this, *form_, programmer_, messenger_);
    connect(menus_, &MainMenus::languageChosen, this, &MainWindow::languageChosen);
    connect(&programmer_, &Programmer::notice, this,
            [this](const Notice &notice) { messenger_.show(notice); });
    connect(&programmer_.transfers(), &Transfers::compared, this, &MainWindow::showComparison);
}

MainWindow::~MainWindow()
{
    // The programmer outlives the window: nothing of it may call back here.
    for (QObject *receiver :
         {static_cast<QObject *>(this), static_cast<QObject *>(form_), static_cast<QObject *>(menus_)})
        programmer_.disconnect(receiver);
    form_->model()->setEditHandler({});
    programmer_.shutDown();
}

ChannelGrid *MainWindow::grid() const
{
    return form_->grid();
}

void MainWindow::changeEvent(QEvent *event)
{
    // Back from another window, perhaps another copy of this program: show
    // the table as it is in the file now.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        programmer_.editor().refresh();
    if (event->type() == QEvent::LanguageChange) {
        // Satellite windows are children: their fixed captions change here too.
        recaption(this);
        menus_->restate();
        showDate();
        programmer_.transfers().restateStatus();
        emit form_->model()->headerDataChanged(Qt::Horizontal, 0, kFieldCount - 1);
    }
    QMainWindow::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Never half-way through a write; a read is ended and the table kept.
    const Result allowed = programmer_.transfers().requestClose();
    messenger_.tell(allowed);
    if (!allowed.ok) {
        event->ignore();
        return;
    }
    // A value still in an open cell editor is stored (and checked) first;
    // then the port is let go, as the program ends with this window.
    grid()->commitOpenEditor();
    programmer_.shutDown();
    emit placeToKeep(saveGeometry());
    QMainWindow::closeEvent(event);
}

void MainWindow::copyCells()
{
    QApplication::clipboard()->setText(programmer_.editor().copyCells(form_->selectedCells()));
}

void MainWindow::pasteCells()
{
    const QModelIndex current = grid()->currentIndex();
    std::vector<Cell> selection;
    for (const QModelIndex &index : grid()->selectionModel()->selectedIndexes())
        selection.push_back({index.row(), index.column()});
    messenger_.tell(programmer_.editor().paste(
        QApplication::clipboard()->text(), selection,
        current.isValid() ? std::optional(Cell{current.row(), current.column()}) : std::nullopt));
}

void MainWindow::showChangeMany()
{
    const std::vector<int> rows = form_->selectedRows();
    auto *dialog = new ChangeManyDialog(rows, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, rows] {
        messenger_.tell(programmer_.editor().changeMany(rows, dialog->change()));
    });
    dialog->open();
}

void MainWindow::showComparison(const std::vector<FieldDifference> &differences, qint64 snapshot)
{
    if (differences.empty()) {
        messenger_.show(Notice{Notice::Icon::None, texts::kCompareTitle, texts::kRadioHoldsPlan, {}});
        return;
    }
    auto *dialog = new CompareDialog(differences, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &CompareDialog::takeRadio, this, [this, snapshot] {
        messenger_.tell(snapshot ? programmer_.editor().restoreSnapshot(snapshot, texts::kTakeRadioStep)
                                 : Result::refused(errorNotice(texts::kSnapshotGone)));
    });
    connect(dialog, &CompareDialog::writePlan, this, [this] {
        messenger_.tell(programmer_.transfers().write([this](const Notice &q) { return messenger_.ask(q); }));
    });
    dialog->open();
}

void MainWindow::showBandChart()
{
    showOnce(bandChart_, [this] {
        auto *chart = new BandChartWindow(programmer_, messenger_, this);
        connect(chart, &BandChartWindow::channelChosen, this, [this](int channel) {
            form_->selectRows({channel - 1}, channel - 1);
        });
        return chart;
    });
}

void MainWindow::showAirRules()
{
    auto *dialog = new AirRulesDialog(programmer_.airCheck().choice(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] { programmer_.airCheck().choose(dialog->choice()); });
    dialog->open();
}

void MainWindow::showPresets()
{
    std::vector<ChannelPreset> presets;
    if (const Result loaded = programmer_.editor().presets(presets); !loaded.ok) {
        messenger_.tell(loaded);
        return;
    }
    auto *dialog = new PresetDialog(programmer_, form_->selectedRows(), std::move(presets), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        messenger_.tell(programmer_.editor().insertPreset(dialog->rows(), dialog->chosen()));
    });
    dialog->open();
}

void MainWindow::startUp()
{
    today_ = QDate::currentDate();
    showDate();
    messenger_.tell(programmer_.ports().openPort());
    grid()->makeRowCurrent(0);
    messenger_.tell(programmer_.transfers().startUpWrite());
}

void MainWindow::showDate()
{
    if (today_.isValid()) {
        form_->date()->setText(tr("%1年%2月%3日").arg(today_.year()).arg(today_.month()).arg(today_.day()));
        // Set after the window was shown and fitted.
        fitTexts(this);
    }
}

void MainWindow::pick(int picker, const QString &text)
{
    form_->pick(picker, text);
}

void MainWindow::saveChannelFile()
{
    messenger_.tell(
        programmer_.files().saveChannelFile([this] { return messenger_.askSavePath(kChannelFileFilter); }));
}

void MainWindow::saveTrace()
{
    messenger_.tell(programmer_.traces().saveTrace(
        [this] { return messenger_.askSavePath(kTraceFilter, nullptr, DataFolders::newTracePath()); }));
}

void MainWindow::saveReport()
{
    const QString path = messenger_.askSavePath(kTraceFilter);
    if (!path.isEmpty())
        messenger_.tell(saveSupportReport(programmer_, path));
}

void MainWindow::openChannelFile()
{
    messenger_.tell(
        programmer_.files().openChannelFile([this] { return messenger_.askOpenPath(kChannelFileFilter); }));
}

void MainWindow::exportCsv()
{
    int chosen = 0;
    const QString path = messenger_.askSavePath(csvFilters(), &chosen);
    if (!path.isEmpty())
        messenger_.tell(programmer_.files().exportCsv(csvLayoutAt(chosen), [&path] { return path; }));
}

void MainWindow::importCsv()
{
    grid()->commitOpenEditor();
    messenger_.tell(programmer_.files().importCsv([this] { return messenger_.askOpenPath(csvFilters()); }));
}

void MainWindow::printCard()
{
    grid()->commitOpenEditor(); // the card shows what the grid shows
    cardPrinter_.preview(this);
}

void MainWindow::exportPdf()
{
    grid()->commitOpenEditor();
    const QString path = messenger_.askSavePath(texts::kPdfFilter);
    if (path.isEmpty())
        return;
    const bool only =
        ChannelCard::hasEmptyChannels(programmer_.editor().plan()) &&
        messenger_.ask(Notice{Notice::Icon::None, texts::kCardTitle, texts::kAskPdfOnlyWithRx, {}});
    messenger_.tell(cardPrinter_.exportPdf(path, only));
}

void MainWindow::showPortDialog()
{
    // Built afresh after a close, its options show the port then in use.
    showOnce(portDialog_, [this] { return new PortDialog(programmer_, messenger_, this); });
}

void MainWindow::showPortDevices()
{
    showOnce(portDevices_, [this] { return new PortDevicesWindow(programmer_, messenger_, this); });
}

void MainWindow::showHistory()
{
    showOnce(history_, [this] { return new HistoryWindow(programmer_, messenger_, this); });
}

void MainWindow::showInstructions()
{
    showOnce(instructions_, [this] { return new InstructionsWindow(this); });
}

void MainWindow::showAbout()
{
    showOnce(about_, [this] { return new AboutWindow(messenger_, programmer_.storePath(), this); });
}

} // namespace vq
