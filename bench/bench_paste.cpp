// Paste figures: 50 full rows from the clipboard's text into the table as
// one undoable batch (checked, stored, on the undo stack), median and worst
// of 100, with and without the disk flush; how fast the paste refuses
// 10 000 lines and binary junk; and the row operations on a full table,
// sorting 50 rows and moving 25, each one batch.
#include "plan/Programmer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRuns = 100;

// Every field of every channel set; the two seeds differ in every cell,
// each direction with a tone or a code, never both (the radio holds one).
QString fullRows(int seed, bool descending = false)
{
    QString text = QStringLiteral(
        "信道号\t接收频率\t收哑音\t收数字哑音\t发送频率\t发哑音\t发数字哑音\t扫描\tBCL\t拍频\n");
    for (int at = 0; at < vq::kChannelCount; ++at) {
        const int row = descending ? vq::kChannelCount - 1 - at : at;
        text += QStringLiteral("%1\t%2.12500\t%3\t%4\t%5.00000\t%6\t%7\t%8\t%9\t%10\n")
                    .arg(row + 1)
                    .arg(400 + row + seed)
                    .arg(seed ? QStringLiteral("88.5") : QString())
                    .arg(seed ? QString() : QStringLiteral("754"))
                    .arg(401 + row + seed)
                    .arg(seed ? QString() : QStringLiteral("71.9"))
                    .arg(seed ? QStringLiteral("754") : QString())
                    .arg(seed ? QStringLiteral("add") : QStringLiteral("del"))
                    .arg(seed ? QStringLiteral("off") : QStringLiteral("1"))
                    .arg(seed ? QStringLiteral("on") : QStringLiteral("off"));
    }
    return text;
}

int failed(const vq::Result &result)
{
    for (const vq::Notice &notice : result.notices)
        std::fprintf(stderr, "%s\n%s\n", qPrintable(notice.text), qPrintable(notice.informative));
    return 1;
}

void report(const char *what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    std::printf("%-40s median %.2f ms, worst %.2f ms\n", what, ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    vq::Programmer programmer;
    if (!programmer.openStore(dir.filePath(QStringLiteral("bench.db"))).ok)
        return 1;
    const QString texts[] = {fullRows(0), fullRows(1)};
    QSqlQuery pragma(QSqlDatabase::database(programmer.store().connectionName()));
    QElapsedTimer clock;
    for (const char *sync : {"FULL", "OFF"}) {
        pragma.exec(QStringLiteral("PRAGMA synchronous = %1").arg(QLatin1String(sync)));
        std::vector<double> ms;
        for (int n = 0; n < kRuns; ++n) {
            clock.start();
            const vq::Result pasted = programmer.editor().paste(texts[n % 2], {}, vq::Cell{0, 1});
            ms.push_back(clock.nsecsElapsed() / 1e6);
            if (!pasted.ok)
                return failed(pasted);
        }
        report(QLatin1String(sync) == QLatin1String("FULL") ? "paste of 50 full rows (one batch):"
                                                            : "paste, without the disk flush:",
               ms);
    }
    const QString junk[] = {QStringLiteral("146\t88.5\n").repeated(10000),
                            QString::fromLatin1(QByteArray(1 << 20, '\x01'))};
    for (int k = 0; k < 2; ++k) {
        std::vector<double> ms;
        for (int n = 0; n < 10; ++n) {
            clock.start();
            const vq::Result refused = programmer.editor().paste(junk[k], {}, vq::Cell{0, 1});
            ms.push_back(clock.nsecsElapsed() / 1e6);
            if (refused.ok)
                return 1;
        }
        report(k == 0 ? "refusing 10 000 lines:" : "refusing 1 MiB of binary junk:", ms);
    }
    pragma.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    std::vector<double> sorting, moving;
    std::vector<int> half;
    for (int row = 0; row < vq::kChannelCount / 2; ++row)
        half.push_back(row * 2);
    for (int n = 0; n < kRuns; ++n) {
        // Every row in the wrong place, then sorted back.
        if (const vq::Result pasted = programmer.editor().paste(fullRows(n % 2, true), {}, vq::Cell{0, 1});
            !pasted.ok)
            return failed(pasted);
        clock.start();
        const vq::Result sorted = programmer.editor().sortRows(vq::SortKey::Receive);
        sorting.push_back(clock.nsecsElapsed() / 1e6);
        clock.start();
        const vq::Result moved = programmer.editor().moveRows(half, n % 2 ? -1 : 1);
        moving.push_back(clock.nsecsElapsed() / 1e6);
        if (!sorted.ok || !moved.ok)
            return failed(sorted.ok ? moved : sorted);
    }
    report("sort of 50 rows (one batch):", sorting);
    report("move of 25 rows by one (one batch):", moving);
    return 0;
}
