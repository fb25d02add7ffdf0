#include "plan/PlanFiles.h"

#include "channels/ChannelJudge.h"
#include "channels/ChannelStore.h"
#include "channels/ValueDomains.h"
#include "channels/ValueRules.h"
#include "files/ChannelFile.h"
#include "plan/FileSave.h"
#include "plan/FileTexts.h"
#include "plan/Notice.h"
#include "plan/RefusalText.h"
#include "plan/TableEditor.h"
#include "plan/StoreTexts.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>

namespace vq {

namespace {

// Opening a pipe would wait for a writer for ever. Symbolic links count as
// what they point to.
bool isRegularOrMissing(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode);
}

} // namespace

PlanFiles::PlanFiles(ChannelStore &store, ChannelHistory &history, TableEditor &editor)
    : store_(store), history_(history), editor_(editor)
{
}

Result PlanFiles::saveChannelFile(const PathChooser &choosePath)
{
    editor_.refresh();
    // Rows 1 … 16 as they are now, whatever a transfer did meanwhile.
    return saveRows(editor_.plan(), choosePath);
}

Result PlanFiles::saveRows(const PlanRows &plan, const PathChooser &choosePath)
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

Result PlanFiles::openChannelFile(const PathChooser &choosePath)
{
    if (store_.rowCount() < kChannelFileRows)
        return Result::refused(errorNotice(texts::kTooFewRows16));
    if (Result allowed = editor_.mayEdit(); !allowed.ok)
        return allowed;
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
        return Result::refused(withReason(badFormat, channelFileProblem(reading.item, reading.error)));

    // Every item meets the rules typing and picking obey, or nothing is taken.
    std::vector<ChannelStore::Change> changes;
    for (int row = 0; row < kChannelFileRows; ++row) {
        for (int f = RxFrequency; f < kFieldCount; ++f) {
            const std::string text =
                textOf((*reading.rows)[static_cast<std::size_t>(row)][static_cast<std::size_t>(f)]);
            const ValueCheck check = checkFieldValue(static_cast<Field>(f), text);
            if (!check.value) {
                const int item = row * (kFieldCount - 1) + f;
                return Result::refused(withReason(badFormat, channelFileValueProblem(item, *check.problem)));
            }
            changes.push_back({row, f, *check.value});
        }
    }
    // Each item met its field's rule; the channels as a whole meet the radio's.
    const PlanRows current = editor_.plan();
    PlanRows after = current;
    for (const ChannelStore::Change &c : changes)
        after[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)] = c.value;
    if (const Notice refused = planRefusal(badFormat, judgeChange(current, after));
        !refused.informative.isEmpty())
        return Result::refused(refused);
    // The table it replaces goes into the history in the same transaction.
    const auto keepReplaced = [this, &path] {
        editor_.keep(ChannelHistory::Reason::FileOpen, QFileInfo(path).absoluteFilePath(), editor_.plan());
    };
    if (!editor_.commit(QCoreApplication::translate("vq::texts", "打开文件"), std::move(changes),
                        keepReplaced))
        return Result::refused(editor_.storeFailed());
    editor_.showFirstRow();
    return {};
}

Result PlanFiles::exportCsv(CsvLayout layout, const PathChooser &choosePath)
{
    return saveCsv(editor_.plan(), layout, choosePath);
}

Result PlanFiles::exportCsvTo(CsvLayout layout, const QString &path)
{
    QByteArray bytes;
    const Result made = csvBytes(layout, bytes);
    return made.ok ? saveFile(path, bytes) : made;
}

Result PlanFiles::csvBytes(CsvLayout layout, QByteArray &bytes) const
{
    return makeCsv(editor_.plan(), layout, bytes);
}

Result PlanFiles::saveCsv(const PlanRows &rows, CsvLayout layout, const PathChooser &choosePath)
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

Result PlanFiles::importCsv(const PathChooser &choosePath)
{
    if (Result allowed = editor_.mayEdit(); !allowed.ok)
        return allowed;
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
    editor_.refresh();
    std::vector<ChannelStore::Change> changes;
    Result result = csvChanges(text, editor_.plan(), changes);
    if (!result.ok)
        return result;
    const auto keepReplaced = [this, &path] {
        editor_.keep(ChannelHistory::Reason::Import, QFileInfo(path).absoluteFilePath(), editor_.plan());
    };
    if (!editor_.commit(texts::kImportStep, std::move(changes), keepReplaced))
        return Result::refused(editor_.storeFailed());
    editor_.showFirstRow();
    return result;
}

Result PlanFiles::exportSnapshot(qint64 id, const PathChooser &choosePath, std::optional<CsvLayout> csv)
{
    const std::optional<PlanRows> rows = history_.rows(id);
    if (!rows)
        return Result::refused(withReason(errorNotice(texts::kSnapshotGone), history_.problem()));
    return csv ? saveCsv(*rows, *csv, choosePath) : saveRows(*rows, choosePath);
}

} // namespace vq
