#pragma once

#include "channels/ChannelHistory.h"
#include "plan/CsvExchange.h"
#include "plan/Result.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace vq {

class ChannelStore;
class TableEditor;

// The plan in files: the channel file, CSV in both layouts and snapshot
// exports. What comes in is judged as every change is and lands as one
// undoable step after a snapshot of the table it replaces; what goes out
// goes through the one save guard (FileSave).
class PlanFiles {
public:
    // Asks the user for a file; an empty text is a cancel. A name chosen
    // without an extension gets the one of its kind.
    using PathChooser = std::function<QString()>;

    PlanFiles(ChannelStore &store, ChannelHistory &history, TableEditor &editor);

    // Rows 1 … 16 as a channel file, and a channel file into them.
    Result saveChannelFile(const PathChooser &choosePath);
    Result openChannelFile(const PathChooser &choosePath);
    // The whole table as CSV in `layout`: into a chosen file, into exactly
    // `path`, or as bytes for standard output.
    Result exportCsv(CsvLayout layout, const PathChooser &choosePath);
    Result exportCsvTo(CsvLayout layout, const QString &path);
    Result csvBytes(CsvLayout layout, QByteArray &bytes) const;
    // A CSV file of either layout into the table; all of it or nothing.
    Result importCsv(const PathChooser &choosePath);
    // A snapshot saved as a channel file, or as CSV in the layout given.
    Result exportSnapshot(qint64 id, const PathChooser &choosePath, std::optional<CsvLayout> csv = {});

private:
    Result saveRows(const PlanRows &rows, const PathChooser &choosePath);
    Result saveCsv(const PlanRows &rows, CsvLayout layout, const PathChooser &choosePath);

    ChannelStore &store_;
    ChannelHistory &history_;
    TableEditor &editor_;
};

} // namespace vq
