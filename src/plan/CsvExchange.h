#pragma once

#include "channels/ChannelHistory.h"
#include "channels/ChannelStore.h"
#include "plan/Result.h"

#include <QByteArray>
#include <QString>

#include <string>
#include <vector>

namespace vq {

// The program's own layout (the table's fields as stored) and the common
// layout other radio programmers exchange plans in.
enum class CsvLayout { Own, Common };

// The file bytes of `rows` in `layout`; a plan the common layout cannot
// express is refused with the channels that stand in the way.
Result makeCsv(const PlanRows &rows, CsvLayout layout, QByteArray &bytes);

// The text of a CSV file as UTF-8: read whole up to the reader's bound (a
// larger file is refused without reading on), and taken as GB18030 when it
// is not UTF-8, which is what spreadsheet programs on Chinese systems save.
Result readCsvFile(const QString &path, std::string &text);

// What importing `text` onto `current` changes, in whichever layout its
// header names. Nothing at all when any row is refused: the notice lists
// the problems. Warnings come back as notices of a good result.
Result csvChanges(const std::string &text, const PlanRows &current,
                  std::vector<ChannelStore::Change> &changes);

} // namespace vq
