#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Verbs.h"
#include "plan/StoreTexts.h"
#include "plan/LinkTexts.h"

#include <QEventLoop>

namespace vq::cli {

int awaitRead(Programmer &programmer, const Interrupts &onInterrupt, const QString &stopped,
              const std::function<Result()> &start,
              const std::function<void(QObject *context, const std::function<void()> &done)> &listen)
{
    QEventLoop loop;
    bool ended = false;
    QString failure;
    listen(&loop, [&] {
        ended = true;
        loop.quit();
    });
    QObject::connect(&programmer, &Programmer::notice, &loop, [&](const Notice &notice) {
        failure = lineOf(notice);
        loop.quit();
    });
    Progress progress({texts::kStatusReading});
    QObject::connect(&programmer, &Programmer::progressChanged, &loop, [&progress](int value) {
        // The bar goes back to 0 when the read ends.
        if (value > 0)
            progress.show(0, value);
    });
    onInterrupt([&] {
        programmer.transfers().cancelTransfer([] { return true; });
        failure = stopped;
        loop.quit();
    });
    const Result started = start();
    if (!started.ok) {
        onInterrupt({});
        return report(started);
    }
    loop.exec();
    onInterrupt({});
    progress.end();
    return ended ? kSucceeded : fail(failure.isEmpty() ? QString(texts::kReadError) : failure);
}

int runRead(const Command &command, const Interrupts &onInterrupt)
{
    Programmer programmer;
    ScratchStore scratch;
    // With only --csv the read goes to the file and no store changes.
    const bool toStore = command.databaseGiven || command.csv.isEmpty();
    const QString storePath = toStore ? command.database : scratch.path();
    if (!toStore && !scratch.folder.isValid())
        return fail(texts::kStoreCannotOpen + scratch.folder.errorString());
    const Result opened = programmer.openStore(storePath);
    if (!opened.ok)
        return report(opened);
    if (auto failed = openOnePort(programmer, command.ports.first()))
        return *failed;

    const int read = awaitRead(
        programmer, onInterrupt, Cli::tr("已中止：没有保存任何数据"), [&programmer] { return programmer.transfers().read(); },
        [&programmer](QObject *context, const std::function<void()> &done) {
            QObject::connect(&programmer, &Programmer::readStored, context, done);
        });
    if (read != kSucceeded)
        return read;
    if (!command.csv.isEmpty()) {
        const Result saved = programmer.files().exportCsvTo(command.layout, command.csv);
        if (!saved.ok)
            return report(saved);
    }
    printLine(stderr, Cli::tr("已读取%1个信道").arg(kChannelCount));
    return kSucceeded;
}

} // namespace vq::cli
