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

// The first column of a query's rows as another program would see them;
// Null cells as "<null>".
QStringList peek(const QString &path, const QString &sql);

// A plan of distinct channels over the whole table, so a lost or shifted
// row shows: 430.00000 to 434.90000 MHz, the same both ways.
bool fillPlan(const QString &path);

// The 50 frames a write would send of the store at `path`, or of `rows`.
QStringList framesOf(const QString &path);
QStringList framesOf(const std::vector<ChannelRecord> &rows);

// A whole number from the environment, for the length of long runs.
int setting(const char *name, int otherwise);

// Replaces the file's content; false if it could not be written in full.
bool writeFile(const QString &path, const QByteArray &bytes);

// A hash of the file's bytes, to show a refused file was left as it was.
QByteArray digest(const QString &path);

} // namespace vq::test
