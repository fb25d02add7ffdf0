#pragma once

#include "plan/AirRules.h"
#include "plan/CsvExchange.h"
#include "plan/RowOrder.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <optional>

class QCoreApplication;

namespace vq::cli {

// The command line's own texts: Chinese is the source, looked up in the
// language in use.
struct Cli {
    Q_DECLARE_TR_FUNCTIONS(vq::cli)
};

// One run of the command-line tool as the user asked for it.
struct Command {
    QString verb; // ports, probe, read, write, diff, export, import, check, sort, chart, report
    QStringList ports; // --port, in the order given
    QString database;  // --db, or the program's default store
    bool databaseGiven = false;
    QString csv;                       // --csv
    CsvLayout layout = CsvLayout::Own; // --layout
    bool verify = false;               // --verify
    bool json = false;                 // --json
    SortKey sortBy = SortKey::Receive; // --by
    AirChoice air;                     // --region and --licence
    QString file;                      // the file of export and import; "-" is standard output
};

// Reads the command line. --help and --version print and exit here; a
// mistake is printed with the usage and gives nothing.
std::optional<Command> parseCommand(const QCoreApplication &app);

} // namespace vq::cli
