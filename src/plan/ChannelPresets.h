#pragma once

#include "plan/BulkEdit.h"

#include <QString>

#include <vector>

namespace vq {

// A known set of channels shipped with the program: its name and, for each
// channel in order, the fields it sets.
struct ChannelPreset {
    QString name; // as the data names it
    std::vector<FieldValues> channels;

    // The name in the language in use.
    QString shownName() const;
};

// The sets kept in the program's data (ChannelPresets.json): an object
// with "sets", each with "name", "fields" (field names of the table) and
// "channels" (one array of texts a channel, in the order of "fields").
// Nothing and `problem` set when the data cannot be read.
std::vector<ChannelPreset> readChannelPresets(const QByteArray &json, QString *problem = nullptr);
// The sets the program ships.
std::vector<ChannelPreset> shippedChannelPresets(QString *problem = nullptr);

} // namespace vq
