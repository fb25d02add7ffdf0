#pragma once

#include "cli/CommandLine.h"
#include "plan/Programmer.h"

#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <optional>

namespace vq::cli {

// The joints between the parts of a line follow the language too: Chinese
// punctuation is full-width.
QString colon();

void printLine(std::FILE *to, const QString &line);
// Bytes as they are onto standard output.
void writeOut(const QByteArray &bytes);

// Standard streams the caller closed are held by /dev/null opened for
// reading: writes to them fail and are reported, and no file the tool
// opens (the store) can take their place and receive its output.
void holdStandardStreams();
// The terminal hung up: what could not be printed goes nowhere, and only
// the verb's own outcome sets the exit status.
void outputGone();
// Standard output flushed; when anything printed there was lost, one line
// on stderr says so and a verb that succeeded ends with 1.
int finishOutput(int status);

// One line: the text and, after a colon, what the user can do or why.
QString lineOf(const Notice &notice);

// Every notice of a result on stderr, failures and warnings alike; the exit
// status the result earns.
int report(const Result &result);

// The line on stderr, and the status of a failure.
int fail(const QString &line);

// A store a verb only reads from must already be there: a mistyped name
// would otherwise leave a new empty database behind. The exit status when
// it cannot be used.
std::optional<int> openExisting(Programmer &programmer, const QString &path);

// A store of its own in a scratch folder, for a plan that lives only in a
// CSV file: the same rules apply as to the real store, and the real one is
// never touched.
struct ScratchStore {
    QTemporaryDir folder;
    QString path() const { return folder.filePath(QStringLiteral("plan.db")); }
};

// DEV as port 1, the only port, opened; the exit status when it cannot be.
std::optional<int> openOnePort(Programmer &programmer, const QString &device);

// The plan a verb works on: the store of --db (or the default), or the
// CSV file of --csv read into `scratch` as an import would; the exit
// status when it cannot be had.
std::optional<int> openPlan(Programmer &programmer, const Command &command, ScratchStore &scratch);

} // namespace vq::cli
