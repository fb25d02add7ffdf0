#include "app/PortDevicesWindow.h"

#include "app/Captions.h"
#include "app/Messenger.h"
#include "plan/CableCheck.h"
#include "plan/Programmer.h"
#include "radio/RadioFinder.h"
#include "plan/LinkTexts.h"

#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vq {

namespace {

constexpr int kProcessLookEvery = 5;

enum Column {
    DeviceColumn,
    StableColumn,
    DescriptionColumn,
    MakerColumn,
    SerialColumn,
    UsbColumn,
    PortColumn,
    StateColumn,
    ColumnCount
};

QPushButton *makeButton(const char *caption, const char *name, QWidget *parent)
{
    auto *button = new QPushButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    setCaption(parent, button, "text", caption);
    return button;
}

QString portsText(const QList<int> &ports)
{
    QStringList names;
    for (int p : ports)
        names << QCoreApplication::translate("vq::PortDevicesWindow", "端口%1").arg(p);
    return names.join(QCoreApplication::translate("vq::texts", "、"));
}

} // namespace

PortDevicesWindow::PortDevicesWindow(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QWidget(parent, Qt::Window), programmer_(programmer), messenger_(messenger)
{
    setObjectName(QStringLiteral("PortDevices"));
    resize(900, 480);

    table_ = new QTableWidget(0, ColumnCount, this);
    table_->setObjectName(QStringLiteral("deviceTable"));
    setCaption(this, table_, "accessibleName", QT_TR_NOOP("串口设备列表"));
    showCaptions();
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);

    auto *toPort1 = makeButton(QT_TR_NOOP("设为端口1"), "setPort1", this);
    auto *toPort2 = makeButton(QT_TR_NOOP("设为端口2"), "setPort2", this);
    findButton_ = makeButton(QT_TR_NOOP("查找对讲机"), "findRadio", this);
    checkButton_ = makeButton(QT_TR_NOOP("检测线路"), "checkCable", this);
    auto *listButtons = new QHBoxLayout;
    for (QPushButton *b : {toPort1, toPort2, findButton_, checkButton_})
        listButtons->addWidget(b);
    listButtons->addStretch();

    // Devices the system does not list: a pseudo-terminal, a symbolic link.
    otherPath_ = new QLineEdit(this);
    otherPath_->setObjectName(QStringLiteral("otherDevice"));
    otherPath_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0"));
    auto *otherTo1 = makeButton(QT_TR_NOOP("设为端口1"), "otherPort1", this);
    auto *otherTo2 = makeButton(QT_TR_NOOP("设为端口2"), "otherPort2", this);
    auto *otherRow = new QHBoxLayout;
    auto *otherLabel = new QLabel(this);
    setCaption(this, otherLabel, "text", QT_TR_NOOP("其他设备："));
    otherRow->addWidget(otherLabel);
    otherLabel->setBuddy(otherPath_);
    otherRow->addWidget(otherPath_, 1);
    otherRow->addWidget(otherTo1);
    otherRow->addWidget(otherTo2);

    findings_ = new QPlainTextEdit(this);
    findings_->setObjectName(QStringLiteral("findings"));
    findings_->setReadOnly(true);
    setCaption(this, findings_, "accessibleName", QT_TR_NOOP("检查结果"));
    findings_->setMaximumBlockCount(200);
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("linkCounts"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table_, 3);
    layout->addLayout(listButtons);
    layout->addLayout(otherRow);
    layout->addWidget(findings_, 2);
    layout->addWidget(counts_);

    connect(toPort1, &QPushButton::clicked, this, [this] { assignSelected(1); });
    connect(toPort2, &QPushButton::clicked, this, [this] { assignSelected(2); });
    connect(otherTo1, &QPushButton::clicked, this, [this] { assignTyped(1); });
    connect(otherTo2, &QPushButton::clicked, this, [this] { assignTyped(2); });
    connect(findButton_, &QPushButton::clicked, this, &PortDevicesWindow::findRadio);
    connect(checkButton_, &QPushButton::clicked, this, &PortDevicesWindow::checkCable);

    finder_ = new RadioFinder(this);
    connect(finder_, &RadioFinder::finished, this, [this](const QList<ProbeOutcome> &outcomes) {
        findButton_->setEnabled(true);
        const SearchReport found = reportSearch(outcomes);
        report(found.lines);
        refresh();
        if (found.onlyRadio.isEmpty())
            return;
        const int port = programmer_.ports().portInUse();
        Notice question = systemNotice(texts::useFoundRadio(found.onlyRadio, port));
        if (messenger_.ask(question))
            messenger_.tell(programmer_.ports().assignDevice(
                port, selectPath(found.onlyRadio) ? selectedRememberedName() : found.onlyRadio));
    });
    check_ = new CableCheck(this);
    connect(check_, &CableCheck::finished, this, [this](const QStringList &lines) {
        checkButton_->setEnabled(true);
        report(lines);
        refresh();
    });

    // A cable plugged in or pulled out shows within a second; the counts
    // follow a transfer as it runs.
    listTimer_.setInterval(1000);
    connect(&listTimer_, &QTimer::timeout, this, &PortDevicesWindow::relist);
    listTimer_.start();
    countTimer_.setInterval(250);
    connect(&countTimer_, &QTimer::timeout, this, &PortDevicesWindow::showCounts);
    countTimer_.start();
    refresh();
    showCounts();
}

PortDevicesWindow::~PortDevicesWindow() = default;

void PortDevicesWindow::refresh()
{
    refreshes_ = 0;
    relist();
}

void PortDevicesWindow::relist()
{
    const QString selected = selectedPath();
    // The processes are looked through every few seconds only, and not
    // while a transfer runs: on a busy desktop that takes a while.
    PortSetup setup = programmer_.ports().portSetup();
    setup.lookAtProcesses = setup.lookAtProcesses && refreshes_++ % kProcessLookEvery == 0;
    QList<PortEntry> fresh = listSerialDevices(setup);
    if (!setup.lookAtProcesses)
        keepKnownHolders(fresh, entries_);
    entries_ = std::move(fresh);
    showEntries();
    if (!selected.isEmpty())
        selectPath(selected);
}

void PortDevicesWindow::showEntries()
{
    table_->setRowCount(static_cast<int>(entries_.size()));
    for (int row = 0; row < entries_.size(); ++row) {
        const PortEntry &e = entries_.at(row);
        QString state = stateText(e.state);
        if (!e.holder.isEmpty())
            state += QCoreApplication::translate("vq::texts", "：") + e.holder;
        const QString cells[ColumnCount] = {e.path,         e.stableName, e.description,      e.manufacturer,
                                            e.serialNumber, e.usbId,      portsText(e.ports), state};
        for (int c = 0; c < ColumnCount; ++c) {
            QTableWidgetItem *item = table_->item(row, c);
            if (!item) {
                item = new QTableWidgetItem;
                table_->setItem(row, c, item);
            }
            if (item->text() != cells[c])
                item->setText(cells[c]);
        }
    }
    table_->resizeColumnsToContents();
}

void PortDevicesWindow::showCaptions()
{
    setWindowTitle(texts::kDevicesTitle);
    table_->setHorizontalHeaderLabels({tr("设备"), tr("固定名称"), tr("描述"), tr("制造商"), tr("序列号"),
                                       QStringLiteral("USB ID"), tr("端口"), tr("状态")});
}

void PortDevicesWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        showCaptions();
        showEntries();
        showCounts();
    }
    QWidget::changeEvent(event);
}

void PortDevicesWindow::showCounts()
{
    const PortSetup setup = programmer_.ports().portSetup();
    counts_->setText(texts::linkCounts(setup.activePort,
                                       setup.activeOpen ? programmer_.ports().deviceInUse() : QString(),
                                       programmer_.ports().bytesSent(), programmer_.ports().bytesReceived()));
}

QString PortDevicesWindow::selectedPath() const
{
    const int row = table_->currentRow();
    if (row < 0 || row >= entries_.size() || table_->selectionModel()->selectedRows().isEmpty())
        return {};
    return entries_.at(row).path;
}

QString PortDevicesWindow::selectedRememberedName() const
{
    const int row = table_->currentRow();
    return (row < 0 || row >= entries_.size()) ? QString() : entries_.at(row).rememberedName();
}

bool PortDevicesWindow::selectPath(const QString &path)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    for (int row = 0; row < entries_.size(); ++row) {
        const QString &p = entries_.at(row).path;
        if (p == path || (!wanted.isEmpty() && QFileInfo(p).canonicalFilePath() == wanted)) {
            table_->selectRow(row);
            return true;
        }
    }
    return false;
}

void PortDevicesWindow::assignSelected(int port)
{
    // The stable name, so that a USB renumbering does not lose the cable.
    const QString name = selectedRememberedName();
    if (name.isEmpty())
        return;
    messenger_.tell(programmer_.ports().assignDevice(port, name));
    refresh();
}

void PortDevicesWindow::assignTyped(int port)
{
    const QString path = otherPath_->text().trimmed();
    if (path.isEmpty())
        return;
    messenger_.tell(programmer_.ports().assignDevice(port, path));
    refresh();
}

void PortDevicesWindow::findRadio()
{
    const Result allowed = programmer_.ports().mayProbe();
    if (!allowed.ok) {
        messenger_.tell(allowed);
        return;
    }
    refresh();
    const QStringList candidates = probeCandidates(entries_);
    if (candidates.isEmpty()) {
        report({texts::kNoDeviceToSearch});
        return;
    }
    findButton_->setEnabled(false);
    finder_->start(candidates);
}

void PortDevicesWindow::checkCable()
{
    const QString path = selectedPath();
    if (path.isEmpty())
        return;
    const Result allowed = programmer_.ports().mayCheckCable(path);
    if (!allowed.ok) {
        messenger_.tell(allowed);
        return;
    }
    checkButton_->setEnabled(false);
    findings_->appendPlainText(texts::kCableCheckTitle + QStringLiteral("：") + path);
    check_->start(path);
}

void PortDevicesWindow::report(const QStringList &lines)
{
    for (const QString &line : lines)
        findings_->appendPlainText(line);
    findings_->appendPlainText(QString());
}

} // namespace vq
