#include "cli/Output.h"
#include "cli/Progress.h"
#include "cli/Verbs.h"
#include "plan/StoreTexts.h"
#include "plan/LinkTexts.h"

#include <QEventLoop>

namespace vq::cli {

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
    PortChoice choice;
    choice.devices = {command.ports.first(), QString()};
    programmer.ports().usePorts(choice);
    const Result port = programmer.ports().openPort();
    if (!port.ok)
        return fail(lineOf(port.notices.first()));

    QEventLoop loop;
    bool stored = false;
    QString failure;
    QObject::connect(&programmer, &Programmer::readStored, &loop, [&] {
        stored = true;
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
        failure = Cli::tr("已中止：没有保存任何数据");
        loop.quit();
    });
    const Result started = programmer.transfers().read();
    if (!started.ok)
        return report(started);
    loop.exec();
    onInterrupt({});
    progress.end();
    if (!stored)
        return fail(failure.isEmpty() ? texts::kReadError : failure);
    if (!command.csv.isEmpty()) {
        const Result saved = programmer.files().exportCsvTo(command.layout, command.csv);
        if (!saved.ok)
            return report(saved);
    }
    printLine(stderr, Cli::tr("已读取%1个信道").arg(kChannelCount));
    return kSucceeded;
}

} // namespace vq::cli
