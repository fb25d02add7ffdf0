#pragma once

#include "plan/Result.h"
#include "radio/LinkTrace.h"
#include "radio/TraceFile.h"

#include <QObject>
#include <QString>

#include <functional>

namespace vq {

class SerialLink;

// Where the program keeps its data (~/.local/share/vq4471r): the same for
// the window and the command line.
struct DataFolders {
    static QString dataFolder();
    // The store used when none is named, in the data folder.
    static QString defaultStorePath();
    // Where link traces and logs go; only the newest kLogsKept stay.
    static QString logFolder();
    static constexpr int kLogsKept = 20;
    // A new time-stamped file name for a saved trace, in the log folder
    // (made here when it can be, so a file dialog can start in it).
    static QString newTracePath();
};

// The link's traffic for a support request: saved whole on demand, or
// written as it happens into a live trace file.
class LinkTraces : public QObject {
    Q_OBJECT
public:
    using PathChooser = std::function<QString()>;

    explicit LinkTraces(SerialLink &link, QObject *parent = nullptr);
    ~LinkTraces() override;

    // The recent traffic as a text file; a save into the log folder prunes
    // it to the newest kLogsKept files.
    Result saveTrace(const PathChooser &choosePath);
    // The same lines into `path` as they happen, from now on. A write that
    // fails later is told once through notice() and ends the live trace;
    // the transfer goes on.
    Result startTrace(const QString &path);

signals:
    void notice(const vq::Notice &notice);

private:
    void onTraced(const LinkTrace::Entry &entry);
    QByteArray traceHeader() const;

    SerialLink &link_;
    TraceFile traceFile_;
};

} // namespace vq
