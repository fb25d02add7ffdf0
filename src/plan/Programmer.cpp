#include "plan/Programmer.h"

#include "channels/Decimal.h"
#include "channels/FrequencyRules.h"
#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"
#include "channels/ValueRules.h"
#include "files/ChannelFile.h"
#include "plan/FileSave.h"
#include "plan/PlanFrames.h"
#include "plan/RefusalText.h"
#include "plan/StoreCommand.h"
#include "radio/ChannelFrame.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <utility>

#include <sys/stat.h>

namespace vq {

namespace {

bool isTransfer(LinkController::State state)
{
    using S = LinkController::State;
    return state != S::Idle && state != S::AwaitingReady;
}

bool isWrite(LinkController::State state)
{
    using S = LinkController::State;
    return state == S::WritePending || state == S::Writing;
}

QString fieldName(int field)
{
    return texts::fieldName(fieldNames()[static_cast<std::size_t>(field)]);
}

Notice withReason(Notice notice, const QString &reason)
{
    notice.informative = reason;
    return notice;
}

// A channel file's item n (1 … 144) holds field 1 … 9 of channel 1 … 16.
QString fileItemProblem(int item, const QString &why)
{
    const int channel = (item - 1) / (kFieldCount - 1) + 1;
    const int field = (item - 1) % (kFieldCount - 1) + 1;
    return texts::fileItemProblem(item, channel, fieldName(field), why);
}

QString readingProblem(ChannelFileError error)
{
    switch (error) {
    case ChannelFileError::NotText:
        return QCoreApplication::translate("vq::texts", "不是文本");
    case ChannelFileError::TooFewItems:
        return QCoreApplication::translate("vq::texts", "缺少此项");
    case ChannelFileError::BadFrequency:
        return QCoreApplication::translate("vq::texts", "不是频率");
    case ChannelFileError::None:
        break;
    }
    return {};
}

// Traces saved one per support request would otherwise pile up for ever;
// only a file just written into the log folder prunes it, the newest first
// kept (that file among them).
void pruneLogs(const QString &written)
{
    const QDir folder(Programmer::logFolder());
    if (QFileInfo(written).absoluteDir() != folder)
        return;
    const QFileInfoList files = folder.entryInfoList(QDir::Files, QDir::Time);
    for (qsizetype i = Programmer::kLogsKept; i < files.size(); ++i)
        QFile::remove(files.at(i).filePath());
}

Notice traceFailed(const QString &path, const QString &why)
{
    return withReason(errorNotice(texts::kTraceWriteFailed),
                      QDir::toNativeSeparators(path) + QCoreApplication::translate("vq::texts", "：") + why);
}

// Symbolic links count as what they point to.
bool isRegularOrMissing(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode);
}

bool isReadState(LinkController::State state)
{
    using S = LinkController::State;
    return state == S::ReadPending || state == S::Reading;
}

// Where a port problem is told: the port dialog, start-up moving on to the
// other port, or start-up with no port left.
enum class PortContext { Switch, Fallback, NoneLeft };

Notice portProblem(int port, const SerialLink &link, SerialLink::OpenResult why, PortContext context)
{
    using R = SerialLink::OpenResult;
    const int other = 3 - port;
    QString text;
    if (why == R::InUse) {
        // Port 1 falling back to port 2 reads "串行端口 1已被其它设备使用，已选择 COM2 ".
        if (context == PortContext::Switch)
            text = port == 1 ? texts::kPort1Used : texts::kPort2Used;
        else
            text = texts::portInUse(port) + (context == PortContext::Fallback
                                                 ? texts::kPortOtherChosen.arg(other) + QLatin1Char(' ')
                                                 : texts::kNoPortAtAll);
    } else {
        const QString &reason = why == R::Missing        ? texts::kPortMissing
                                : why == R::NotSerial    ? texts::kPortNotSerial
                                : why == R::NoPermission ? texts::kPortNoPermission
                                                         : texts::kPortCannotOpen;
        text = QCoreApplication::translate("vq::texts", "串行端口 %1 ").arg(port) + reason;
        if (context == PortContext::Fallback)
            text += texts::kPortOtherChosen.arg(other);
        else if (context == PortContext::NoneLeft)
            text += texts::kNoPortAtAll;
    }
    Notice notice = systemNotice(text);
    // "In use" alone would send the user looking for another program when
    // the device is simply missing or not open to this user.
    if (why == R::NoPermission)
        notice.informative = texts::permissionHint(link.devicePath(port));
    else if (why != R::InUse)
        notice.informative = link.errorDetail() + QLatin1Char('\n') + texts::kPortFixHint;
    return notice;
}

} // namespace

Programmer::Programmer(QObject *parent) : QObject(parent), controller_(link_)
{
    controller_.setReadSink([this](const LinkController::ReadRows &rows) { return storeRead(rows); });
    connect(&controller_, &LinkController::stateChanged, this, &Programmer::onStateChanged);
    connect(&controller_, &LinkController::failed, this, &Programmer::onFailed);
    connect(&controller_, &LinkController::progressChanged, this, &Programmer::progressChanged);
    connect(&controller_, &LinkController::radioReady, this, [this] {
        if (!std::exchange(keepVerifiedStatus_, false))
            showStatus(texts::kStatusReady);
    });
    connect(&controller_, &LinkController::radioSilent, this, [this] {
        keepVerifiedStatus_ = false;
        showStatus(texts::kStatusSilent);
    });
    connect(&controller_, &LinkController::readFinished, this, &Programmer::readStored);
    connect(&controller_, &LinkController::frameSent, this, [this] {
        if (pendingWrite_)
            snapshot(pendingWrite_->reason, pendingWrite_->device, pendingWrite_->sent);
        pendingWrite_.reset();
    });
    connect(&controller_, &LinkController::readBack, this, &Programmer::onReadBack);
    // Undoing over another program's changes would bring back a stale plan.
    connect(&store_, &ChannelStore::changedElsewhere, &undoStack_, &QUndoStack::clear);
    link_.trace().setListener([this](const LinkTrace::Entry &entry) { onTraced(entry); });
}

Programmer::~Programmer()
{
    // The commands on the stack refer to the store.
    undoStack_.clear();
    shutDown();
}

QString Programmer::dataFolder()
{
    // Not AppDataLocation: the window and the command-line tool have
    // different application names but share the store.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QLatin1Char('/') +
           userFolderName();
}

QString Programmer::defaultStorePath()
{
    return dataFolder() + QStringLiteral("/vq3390R.db");
}

QString Programmer::logFolder()
{
    return dataFolder() + QStringLiteral("/log");
}

QString Programmer::newTracePath()
{
    QDir().mkpath(logFolder());
    return logFolder() +
           QDateTime::currentDateTime().toString(QStringLiteral("'/trace-'yyyyMMdd-HHmmss'.txt'"));
}

Result Programmer::openStore(const QString &path)
{
    // The data folder is made on first start; a store named elsewhere must
    // have its folder already, as it always had.
    if (QDir::cleanPath(QFileInfo(path).absoluteFilePath()) == QDir::cleanPath(defaultStorePath())) {
        const QString folder = dataFolder();
        QString why;
        if (!QDir().mkpath(folder))
            why = texts::kDataFolderCannotCreate + QDir::toNativeSeparators(folder);
        else if (!QFileInfo(folder).isWritable())
            why = texts::kDataFolderNotWritable + QDir::toNativeSeparators(folder);
        if (!why.isEmpty())
            return Result::refused(
                withReason(systemNotice(texts::kStoreCannotOpen + QDir::toNativeSeparators(path)), why));
    }
    if (store_.open(path))
        return Result{true, store_.openedElsewhere() ? QList{systemNotice(texts::kStoreOpenedElsewhere)}
                                                     : QList<Notice>{}};
    Notice notice = systemNotice(texts::kStoreCannotOpen + QDir::toNativeSeparators(path));
    notice.informative = texts::storeOpenCause(store_);
    return Result::refused(notice);
}

void Programmer::usePorts(const PortChoice &choice, PortSettings *settings)
{
    settings_ = settings;
    link_.setDevicePaths(choice.device(1), choice.device(2));
    firstPort_ = choice.port;
}

Result Programmer::openPort()
{
    const int first = firstPort_;
    link_.setCommPort(first);
    const SerialLink::OpenResult firstResult = link_.open();
    if (firstResult == SerialLink::OpenResult::Opened)
        return {};
    Result result{false, {portProblem(first, link_, firstResult, PortContext::Fallback)}};
    link_.setCommPort(3 - first);
    const SerialLink::OpenResult second = link_.open();
    result.ok = second == SerialLink::OpenResult::Opened;
    // Without a word the user would learn it only at the first transfer.
    if (!result.ok)
        result.notices << portProblem(3 - first, link_, second, PortContext::NoneLeft);
    return result;
}

void Programmer::shutDown()
{
    controller_.stop();
    link_.close();
}

bool Programmer::commit(std::unique_ptr<StoreCommand> command, const std::function<void()> &first)
{
    if (!command->apply(first))
        return false;
    if (!command->isNoOp())
        undoStack_.push(command.release());
    return true;
}

bool Programmer::commit(const QString &text, std::vector<ChannelStore::Change> changes,
                        const std::function<void()> &first)
{
    return commit(std::make_unique<StoreCommand>(store_, text, std::move(changes)), first);
}

bool Programmer::isReading() const
{
    return isReadState(controller_.state());
}

void Programmer::snapshot(ChannelHistory::Reason reason, const QString &device, const PlanRows &rows)
{
    // Said once: a damaged history would otherwise repeat it at every step.
    if (history_.add(reason, device, rows) == ChannelHistory::Added::Failed &&
        !std::exchange(historyWarned_, true))
        qWarning("history snapshot not kept: %s", qUtf8Printable(history_.problem()));
}

QString Programmer::deviceInUse() const
{
    return link_.devicePath(link_.commPort());
}

// ---- editing --------------------------------------------------------------

Result Programmer::mayEdit()
{
    if (isReading())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    // Whatever the user did was done to rows another program has since
    // replaced: the new rows are shown (and the undo history dropped) and
    // nothing old goes over them.
    if (store_.refreshIfChangedElsewhere())
        return Result::refused(errorNotice(texts::kTableChangedElsewhere));
    return {};
}

Result Programmer::applyTypedValue(int row, int column, const QString &text, const Tell &tellNow)
{
    if (row < 0 || row >= store_.rowCount() || (column != RxFrequency && column != TxFrequency))
        return Result::nothing();
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const FieldValue typed = text.toStdString();
    // Confirming a cell as it stands must not run the rules again: the
    // receive rule would copy the frequency over the transmit offset.
    if (typed == store_.field(row, column))
        return Result::nothing();
    const FieldValue rx = column == RxFrequency ? typed : store_.field(row, RxFrequency);
    const FieldValue tx = column == TxFrequency ? typed : store_.field(row, TxFrequency);
    const FrequencyEdit edit = column == RxFrequency ? checkReceiveEdit(rx, tx) : checkTransmitEdit(rx, tx);

    std::vector<ChannelStore::Change> changes{{row, column, typed}};
    if (edit.rx)
        changes.push_back({row, RxFrequency, *edit.rx});
    if (edit.tx)
        changes.push_back({row, TxFrequency, *edit.tx});
    // Taken before the typed text is shown, so that undo goes back past it.
    auto command = std::make_unique<StoreCommand>(
        store_, QCoreApplication::translate("vq::texts", "输入频率"), std::move(changes));

    Result result;
    if (edit.warnOutOfRange) {
        const Notice warning = errorNotice(texts::kOutOfRange);
        if (tellNow) {
            // The user sees what was typed while reading why it goes.
            if (!store_.setField(row, column, typed))
                return Result::refused(errorNotice(texts::kStoreWriteFailed));
            tellNow(warning);
        } else {
            result.notices << warning;
        }
    }
    if (!commit(std::move(command)))
        return Result::refused(errorNotice(texts::kStoreWriteFailed));
    return result;
}

Result Programmer::applyPick(int picker, int row, const QString &text)
{
    if (row < 0 || row >= store_.rowCount())
        return Result::nothing();
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    std::vector<ChannelStore::Change> changes;
    for (const FieldWrite &w : pickerWrites(picker, text.toStdString()))
        changes.push_back({row, w.field, w.text});
    if (changes.empty())
        return Result::nothing();
    if (!commit(QCoreApplication::translate("vq::texts", "选择%1").arg(text.trimmed()), std::move(changes)))
        return Result::refused(errorNotice(texts::kStoreWriteFailed));
    return {};
}

// ---- spreadsheet-style editing ------------------------------------------

QString Programmer::copyCells(const std::vector<Cell> &cells) const
{
    return QString::fromStdString(vq::copyCells(planRows(store_), cells));
}

Result Programmer::commitEdit(const QString &step, const QString &refusal, const BulkEdit &edit)
{
    if (!edit.ok())
        return Result::refused(bulkRefusal(refusal, edit));
    if (edit.changes.empty())
        return Result::nothing();
    if (!commit(step, edit.changes))
        return Result::refused(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
    return {};
}

Result Programmer::paste(const QString &text, const std::vector<Cell> &selection, Cell current)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    const QByteArray utf8 = text.toUtf8();
    return commitEdit(texts::kPasteStep, texts::kPasteRefused,
                      pasteEdit(planRows(store_),
                                std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                                selection, current));
}

Result Programmer::clearCells(const std::vector<Cell> &cells)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kClearStep, texts::kEditRefused, clearEdit(planRows(store_), cells));
}

Result Programmer::fillDown(const std::vector<Cell> &cells)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kFillDownStep, texts::kEditRefused, fillDownEdit(planRows(store_), cells));
}

Result Programmer::changeMany(const std::vector<int> &rows, const ManyChange &change)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kChangeManyStep, texts::kEditRefused,
                      changeManyEdit(planRows(store_), rows, change));
}

Result Programmer::insertPreset(const std::vector<int> &rows, const ChannelPreset &preset)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    return commitEdit(texts::kPresetStep, texts::kEditRefused,
                      presetEdit(planRows(store_), rows, preset.channels));
}

// ---- channel files --------------------------------------------------------

Result Programmer::saveChannelFile(const PathChooser &choosePath)
{
    store_.refreshIfChangedElsewhere();
    // Rows 1 … 16 as they are now, whatever a transfer did meanwhile.
    return saveRows(planRows(store_), choosePath);
}

Result Programmer::saveRows(const PlanRows &plan, const PathChooser &choosePath)
{
    if (plan.size() < static_cast<std::size_t>(kChannelFileRows))
        return Result::refused(errorNotice(texts::kTooFewRows16));
    QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    // The open dialog shows only channel files.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".doc");
    const Notice failed = errorNotice(texts::kFileSaveFailed);
    ChannelFileRows rows;
    std::copy_n(plan.begin(), kChannelFileRows, rows.begin());
    const std::string text = writeChannelFile(rows);
    // Cells grown past any real plan (edited outside the program) would
    // make a file that opening refuses; better not to write it at all.
    if (text.size() > kMaxChannelFileBytes)
        return Result::refused(withReason(failed, texts::kFileTooLarge));
    return saveFile(path, QByteArray::fromStdString(text));
}

Result Programmer::openChannelFile(const PathChooser &choosePath)
{
    if (store_.rowCount() < kChannelFileRows)
        return Result::refused(errorNotice(texts::kTooFewRows16));
    if (isReading())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    const QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    const Notice badFormat = errorNotice(texts::kFileFormat);
    // Opening a pipe would wait for a writer for ever.
    if (!isRegularOrMissing(path))
        return Result::refused(withReason(badFormat, texts::kNotARegularFile));
    // Never more than the reader can use, and a file past that is refused
    // rather than read in part.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Result::refused(withReason(badFormat, file.errorString()));
    const QByteArray bytes = file.read(static_cast<qint64>(kMaxChannelFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return Result::refused(withReason(badFormat, file.errorString()));
    if (bytes.size() > static_cast<qsizetype>(kMaxChannelFileBytes))
        return Result::refused(withReason(badFormat, texts::kFileTooLarge));
    const ChannelFileReading reading =
        readChannelFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!reading.rows)
        return Result::refused(
            withReason(badFormat, fileItemProblem(reading.item, readingProblem(reading.error))));

    // Every item meets the rules typing and picking obey, or nothing is taken.
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < kChannelFileRows; ++row) {
        for (int f = RxFrequency; f < kFieldCount; ++f) {
            const std::string text =
                textOf((*reading.rows)[static_cast<std::size_t>(row)][static_cast<std::size_t>(f)]);
            const ValueCheck check = checkFieldValue(static_cast<Field>(f), text);
            if (!check.value) {
                const int item = row * (kFieldCount - 1) + f;
                return Result::refused(withReason(
                    badFormat,
                    fileItemProblem(item, QStringLiteral("“%1”%2").arg(QString::fromStdString(text),
                                                                       texts::reason(check.problem)))));
            }
            changes.push_back({row, f, *check.value});
        }
    }
    // Each item met its field's rule; the channels as a whole meet the radio's.
    const PlanRows current = planRows(store_);
    PlanRows after = current;
    for (const ChannelStore::Change &c : changes)
        after[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)] = c.value;
    if (const Notice refused = planRefusal(badFormat, judgeChange(current, after));
        !refused.informative.isEmpty())
        return Result::refused(refused);
    // The table it replaces goes into the history in the same transaction.
    const auto keepReplaced = [this, &path] {
        snapshot(ChannelHistory::Reason::FileOpen, QFileInfo(path).absoluteFilePath(), planRows(store_));
    };
    if (!commit(QCoreApplication::translate("vq::texts", "打开文件"), std::move(changes), keepReplaced))
        return Result::refused(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
    emit firstRowCurrent();
    return {};
}

// ---- undo and history -----------------------------------------------------

Result Programmer::exportCsv(CsvLayout layout, const PathChooser &choosePath)
{
    return saveCsv(planRows(store_), layout, choosePath);
}

Result Programmer::exportCsvTo(CsvLayout layout, const QString &path)
{
    QByteArray bytes;
    const Result made = makeCsv(planRows(store_), layout, bytes);
    return made.ok ? saveFile(path, bytes) : made;
}

Result Programmer::saveCsv(const PlanRows &rows, CsvLayout layout, const PathChooser &choosePath)
{
    QByteArray bytes;
    const Result made = makeCsv(rows, layout, bytes);
    if (!made.ok)
        return made;
    QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    // The save dialog's filter names the extension the user expects.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    return saveFile(path, bytes);
}

Result Programmer::importCsv(const PathChooser &choosePath)
{
    if (isReading())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    const QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    // Opening a pipe would wait for a writer for ever.
    if (!isRegularOrMissing(path))
        return Result::refused(withReason(errorNotice(texts::kFileFormat), texts::kNotARegularFile));
    std::string text;
    const Result read = readCsvFile(path, text);
    if (!read.ok)
        return read;
    store_.refreshIfChangedElsewhere();
    std::vector<ChannelStore::Change> changes;
    Result result = csvChanges(text, planRows(store_), changes);
    if (!result.ok)
        return result;
    const auto keepReplaced = [this, &path] {
        snapshot(ChannelHistory::Reason::Import, QFileInfo(path).absoluteFilePath(), planRows(store_));
    };
    if (!commit(texts::kImportStep, std::move(changes), keepReplaced))
        return Result::refused(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
    emit firstRowCurrent();
    return result;
}

Result Programmer::undo()
{
    return step(true);
}

Result Programmer::redo()
{
    return step(false);
}

Result Programmer::step(bool back)
{
    if (Result allowed = mayEdit(); !allowed.ok)
        return allowed;
    if (back ? !undoStack_.canUndo() : !undoStack_.canRedo())
        return Result::nothing();
    // Every command on the stack is a StoreCommand; the store takes the
    // values before the stack moves.
    const int index = undoStack_.index() - (back ? 1 : 0);
    auto *command = static_cast<StoreCommand *>(const_cast<QUndoCommand *>(undoStack_.command(index)));
    if (!(back ? command->revert() : command->reapply()))
        return Result::refused(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
    back ? undoStack_.undo() : undoStack_.redo();
    return {};
}

Result Programmer::restoreSnapshot(qint64 id)
{
    if (isReading())
        return Result::refused(errorNotice(texts::kTransferBusyRetry));
    store_.refreshIfChangedElsewhere();
    const std::optional<PlanRows> rows = history_.rows(id);
    if (!rows)
        return Result::refused(withReason(errorNotice(texts::kSnapshotGone), history_.problem()));
    std::vector<ChannelStore::Change> changes;
    const int count = std::min(static_cast<int>(rows->size()), store_.rowCount());
    for (int row = 0; row < count; ++row)
        for (int f = 0; f < kFieldCount; ++f)
            changes.push_back({row, f, (*rows)[static_cast<std::size_t>(row)][static_cast<std::size_t>(f)]});
    const auto keepReplaced = [this] {
        snapshot(ChannelHistory::Reason::Restore, QString(), planRows(store_));
    };
    if (!commit(texts::kRestoreStep, std::move(changes), keepReplaced))
        return Result::refused(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
    emit firstRowCurrent();
    return {};
}

Result Programmer::exportSnapshot(qint64 id, const PathChooser &choosePath, std::optional<CsvLayout> csv)
{
    const std::optional<PlanRows> rows = history_.rows(id);
    if (!rows)
        return Result::refused(withReason(errorNotice(texts::kSnapshotGone), history_.problem()));
    return csv ? saveCsv(*rows, *csv, choosePath) : saveRows(*rows, choosePath);
}

Result Programmer::cancelTransfer(const std::function<bool()> &confirm)
{
    if (isWrite(controller_.state())) {
        const int seconds = (controller_.remainingWriteMs() + 999) / 1000;
        return Result::refused(systemNotice(texts::writeCannotStop(std::max(seconds, 1))));
    }
    // A verify's read-back is a read too: stopping it changes nothing.
    const auto reading = [this] {
        using S = LinkController::State;
        const S state = controller_.state();
        return isReadState(state) || state == S::VerifyPending || state == S::Verifying;
    };
    if (!reading())
        return Result::nothing();
    // The read may have ended while the question was open.
    if (!confirm() || !reading())
        return Result::nothing();
    controller_.cancelRead();
    return {};
}

// ---- link trace -----------------------------------------------------------

QByteArray Programmer::traceHeader() const
{
    const int port = link_.commPort();
    return texts::traceHeader(QStringLiteral(VQ_VERSION),
                              QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")),
                              port, link_.devicePath(port), link_.isOpen())
        .toUtf8();
}

Result Programmer::saveTrace(const PathChooser &choosePath)
{
    QString path = choosePath();
    if (path.isEmpty())
        return Result::nothing();
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".txt");
    QByteArray text = traceHeader();
    for (const LinkTrace::Entry &entry : link_.trace().entries())
        text += formatTraceEntry(entry);
    const Result saved = saveFile(path, text);
    if (saved.ok)
        pruneLogs(path);
    return saved;
}

Result Programmer::startTrace(const QString &path)
{
    // A live trace appends as it goes; it may not go where a save may not.
    if (const QString why = saveRefusal(path); !why.isEmpty())
        return Result::refused(traceFailed(path, why));
    if (!traceFile_.open(path, traceHeader()))
        return Result::refused(traceFailed(path, traceFile_.errorString()));
    pruneLogs(path);
    return {};
}

void Programmer::onTraced(const LinkTrace::Entry &entry)
{
    if (!traceFile_.isOpen() || traceFile_.append(entry))
        return;
    const Notice failed = traceFailed(traceFile_.path(), traceFile_.errorString());
    // Told after the send or arrival that met it, never from inside it: a
    // message box there would run the transfer's timers under the link.
    QMetaObject::invokeMethod(
        this, [this, failed] { emit notice(failed); }, Qt::QueuedConnection);
}

// ---- transfers ------------------------------------------------------------

Result Programmer::startUpWrite()
{
    // A table without a single channel would erase the radio: a first start
    // on a new store is the usual case. The poll still looks for the radio.
    bool anyChannel = false;
    for (int row = 0; row < store_.rowCount() && !anyChannel; ++row)
        anyChannel = !Decimal::leadingNumber(textOf(store_.field(row, RxFrequency))).isZero();
    if (!anyChannel && link_.isOpen() && !controller_.transferRunning()) {
        controller_.startPoll();
        showStatus(texts::kStatusTableEmpty);
        return Result::nothing();
    }
    return beginWrite(true);
}

Result Programmer::requestClose()
{
    if (isWrite(controller_.state())) {
        const int seconds = (controller_.remainingWriteMs() + 999) / 1000;
        return Result::refused(systemNotice(texts::closeDuringWrite(std::max(seconds, 1))));
    }
    // A read or a read-back is only collecting: ending it leaves the table
    // as it was.
    controller_.cancelRead();
    return {};
}

Result Programmer::write()
{
    return beginWrite(false);
}

void Programmer::setVerifyAfterWrite(bool on)
{
    verifyAfterWrite_ = on;
    if (settings_)
        settings_->saveVerifyAfterWrite(on);
}

Result Programmer::beginWrite(bool startUp)
{
    if (controller_.transferRunning())
        return Result::nothing();
    store_.refreshIfChangedElsewhere();
    if (!link_.isOpen())
        return startUp ? Result::nothing() : Result::refused(systemNotice(texts::kPortNotOpen));
    if (store_.rowCount() < kChannelCount)
        return Result::refused(errorNotice(texts::kTooFewRows50));

    // The first channel is always sent, and kept, as number 1. Encoded
    // once, here: moving the grid, editing or opening a file during the
    // write must not change what the radio receives.
    const FieldValue one = std::string("1");
    PlanFrames plan = encodePlan(planRows(store_));
    if (!plan.ok()) {
        const PlanFrames::Problem &first = plan.problems.front();
        return Result::refused(withReason(errorNotice(texts::unencodableRow(first.channel)), first.why));
    }
    std::vector<QByteArray> frames = std::move(plan.frames);
    const PlanRows &sent = plan.sent;
    Result result;
    // A plan in a read-only file still goes out; the user learns that the
    // renumbering could not be kept.
    if (store_.field(0, ChannelNumber) != one &&
        !commit(QCoreApplication::translate("vq::texts", "信道号"), {{0, ChannelNumber, one}}))
        result.notices << errorNotice(texts::kStoreWriteFailed);

    // Every frame the encoder gives decodes again.
    if (verifyAfterWrite_)
        sentRows_ = *expectedReadBack(frames);
    startUpWrite_ = startUp;
    emit firstRowCurrent();
    const auto after =
        verifyAfterWrite_ ? LinkController::AfterWrite::Verify : LinkController::AfterWrite::Poll;
    if (controller_.startWrite(std::move(frames), after) != LinkController::Start::Started) {
        result.ok = false;
        result.notices << systemNotice(texts::kPortFailed);
        return result;
    }
    // Kept once the first frame is on the line: a write the line never
    // carried is no write.
    pendingWrite_ = PendingWrite{
        startUp ? ChannelHistory::Reason::StartUpWrite : ChannelHistory::Reason::Write, deviceInUse(), sent};
    return result;
}

Result Programmer::read()
{
    if (controller_.transferRunning())
        return Result::nothing();
    store_.refreshIfChangedElsewhere();
    if (!link_.isOpen())
        return Result::refused(systemNotice(texts::kPortNotOpen));
    if (store_.rowCount() < kChannelCount)
        return Result::refused(errorNotice(texts::kTooFewRows50));
    controller_.startRead();
    return {};
}

bool Programmer::storeRead(const LinkController::ReadRows &rows)
{
    std::vector<ChannelStore::Change> changes;
    changes.reserve(static_cast<std::size_t>(kChannelCount * (kFieldCount - 1)));
    // The table as the read leaves it goes into the history in the same
    // transaction: one commit, and never the one without the other.
    PlanRows radio = planRows(store_);
    for (int row = 0; row < kChannelCount; ++row) {
        const auto &read = rows[static_cast<std::size_t>(row)];
        read.applyTo(radio[static_cast<std::size_t>(row)]);
        for (int f = RxFrequency; f < kFieldCount; ++f)
            changes.push_back({row, f, read.at(static_cast<Field>(f))});
    }
    const auto keepRead = [this, &radio] { snapshot(ChannelHistory::Reason::Read, deviceInUse(), radio); };
    if (!commit(texts::kReadStep, std::move(changes), keepRead)) {
        qWarning("storing the read failed: %s", qUtf8Printable(store_.errorDetail()));
        return false;
    }
    emit firstRowCurrent();
    return true;
}

Result Programmer::switchPort(int port)
{
    if (port != 1 && port != 2)
        return Result::nothing();
    if (controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusy));
    if (settings_)
        settings_->savePort(port);
    // The current port is opened again when an earlier failure closed it.
    if (port == link_.commPort() && link_.isOpen()) {
        controller_.startPoll();
        return {};
    }
    return movePort(port);
}

Result Programmer::assignDevice(int port, const QString &device)
{
    if ((port != 1 && port != 2) || device.isEmpty())
        return Result::nothing();
    const bool active = port == link_.commPort();
    if (active && controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusy));
    link_.setDevicePaths(port == 1 ? device : link_.devicePath(1), port == 2 ? device : link_.devicePath(2));
    if (settings_)
        settings_->saveDevice(port, device);
    return active ? movePort(port) : Result{};
}

PortSetup Programmer::portSetup() const
{
    return PortSetup{{link_.devicePath(1), link_.devicePath(2)},
                     link_.commPort(),
                     link_.isOpen(),
                     !controller_.transferRunning()};
}

Result Programmer::mayProbe() const
{
    if (controller_.transferRunning())
        return Result::refused(systemNotice(texts::kTransferBusyRetry));
    return {};
}

Result Programmer::movePort(int port)
{
    link_.close();
    link_.setCommPort(port);
    // What the old port's radio said is no longer true of this one.
    keepVerifiedStatus_ = false;
    showStatus({});
    const SerialLink::OpenResult opened = link_.open();
    if (opened != SerialLink::OpenResult::Opened) {
        controller_.stop(); // no poll on a port that is not open
        return Result::refused(portProblem(port, link_, opened, PortContext::Switch));
    }
    // The user learns whether the radio is there, as after a transfer.
    controller_.startPoll();
    return {};
}

void Programmer::onStateChanged(LinkController::State state)
{
    using S = LinkController::State;
    const S previous = lastState_;
    lastState_ = state;
    if (isTransfer(state))
        keepVerifiedStatus_ = false;
    if (!isWrite(state))
        pendingWrite_.reset();
    if (state == S::WritePending)
        showStatus(startUpWrite_ ? texts::kStatusStartUp : texts::kStatusWriting);
    else if (state == S::ReadPending)
        showStatus(texts::kStatusReading);
    else if (state == S::VerifyPending)
        showStatus(texts::kStatusVerifying);
    else if (isTransfer(previous) && !isTransfer(state))
        showStatus({});
    if (state == S::Reading || (isWrite(previous) && !isWrite(state)))
        emit firstRowCurrent();
    if (isTransfer(previous) != isTransfer(state))
        emit transferRunningChanged(isTransfer(state));
    if (isReadState(previous) != isReadState(state))
        emit readingChanged(isReadState(state));
}

void Programmer::onFailed(LinkController::Failure failure)
{
    switch (failure) {
    case LinkController::Failure::LineFailed:
        emit notice(systemNotice(texts::kPortFailed));
        break;
    case LinkController::Failure::ReadFailed:
        emit notice(errorNotice(texts::kReadError));
        break;
    case LinkController::Failure::ReadNotKept:
        // The radio answered well; it is the database that failed.
        emit notice(withReason(errorNotice(texts::kStoreWriteFailed), store_.errorDetail()));
        break;
    case LinkController::Failure::VerifyFailed:
        emit notice(errorNotice(texts::kVerifyReadFailed));
        break;
    case LinkController::Failure::VerifySilent:
        emit notice(errorNotice(texts::kVerifyNoReply));
        break;
    }
}

void Programmer::onReadBack(const LinkController::ReadRows &rows)
{
    const QList<int> differing = differingChannels(sentRows_, rows);
    if (differing.isEmpty()) {
        showStatus(texts::kStatusVerified);
        keepVerifiedStatus_ = true;
        return;
    }
    // What the radio really holds goes into the history, the table stays.
    PlanRows radio = planRows(store_);
    for (std::size_t row = 0; row < rows.size() && row < radio.size(); ++row)
        rows[row].applyTo(radio[row]);
    snapshot(ChannelHistory::Reason::VerifyReadBack, deviceInUse(), radio);
    emit verifyMismatch(rows);
    emit notice(errorNotice(texts::verifyMismatch(differing)));
}

} // namespace vq
