#pragma once

#include "channels/ChannelStore.h"

#include <QStringList>

#include <vector>

namespace vq::test {

// Every row of the store as it stands, to compare before and after a fault.
std::vector<ChannelRecord> snapshot(const ChannelStore &store);

// Runs SQL on a database file through a connection of its own, as another
// program would; false at the first statement that fails.
bool execSql(const QString &path, const QStringList &statements);

} // namespace vq::test
