// Random sequences of what users do, with another program and a radio,
// checked after every step against a plain model: the table as a stack of
// whole plans (undo, redo), the radio as the plan the last good write sent.
// It never says what an edit should store, only what may change, what must
// stay and what must agree. VQ_SEED, VQ_SEQUENCES and VQ_STEPS choose the
// run; a failing one is shrunk and saved with the others every run replays.
#include "RadioSimulator.h"
#include "channels/ValueDomains.h"
#include "plan/PlanFrames.h"
#include "support/PlanRig.h"
#include "support/StoreHelpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <optional>

using namespace vq;
using vq::sim::RadioSimulator;

namespace {

// One thing a user does; a, b and c are read modulo what the table has, so
// any step means something after any other, and shrinking keeps meaning.
struct Step {
    char kind;
    int a, b, c;
};
using Sequence = std::vector<Step>;

// How often each kind comes up: edits most, transfers and files now and then.
const char kKinds[] = "tttppvvxfmrsudieUUURRHFFCCOOXWQVEZ";

const QStringList kTexts = {"145.5",  "430.0125", "409.75", "462.5625", "136", "999",   "abc", "",
                            "88.5",   "023",      "754",    "250.3",    "add", "del",   "off", "on",
                            "2",      "67",       " ",      "1e3",      "-5",  "145.5x"};

QString text(int n) { return kTexts[n % kTexts.size()]; }

// The plan as the radio would take it: channel 1 numbered 1.
QStringList framesOf(PlanRows rows)
{
    rows[0][ChannelNumber] = std::string("1");
    return test::framesOf(rows);
}

// Rows equal but for 信道号, which row operations renumber; a row that
// held nothing is no channel, and may take one.
bool sameChannel(ChannelRecord a, ChannelRecord b)
{
    a[ChannelNumber] = b[ChannelNumber] = std::nullopt;
    return a == b || std::all_of(b.begin(), b.end(), [](const FieldValue &v) {
               return !v || v->find_first_not_of(' ') == std::string::npos;
           });
}

class Run {
public:
    explicit Run(QString *why) : why_(why) {}
    // The longest step of any run so far, in ms.
    static inline qint64 slowest = 0;

    // The index of the step that failed, or -1.
    int play(const Sequence &steps)
    {
        QTemporaryDir dir;
        RadioSimulator sim({.paced = false});
        dir_ = &dir;
        sim_ = &sim;
        test::PlanRig rig(dir.filePath("plan.db"), sim.devicePath());
        test::PlanRig other(dir.filePath("plan.db"), QString());
        if (!rig.problem.isEmpty() || !other.problem.isEmpty())
            return wrong(rig.problem + other.problem), -1;
        // Quick, but a read still starts after the poll's reply is in, as
        // it does at the real pace: a reply after "B" shifts every frame.
        rig.programmer.controller().setIntervals({.writeTick = 1, .writeDelay = 1, .poll = 10, .readStart = 20,
                                                  .blockTimeout = 300, .silence = 300, .verifyWait = 400});
        me_ = &rig.programmer;
        them_ = &other.programmer;
        QObject::connect(&me_->store(), &ChannelStore::changedElsewhere, [this] { ++reloads_; });
        plan_ = planRows(me_->store());
        for (int i = 0; i < int(steps.size()); ++i) {
            QElapsedTimer clock;
            clock.start();
            if (!apply(steps[std::size_t(i)]) || !check())
                return i;
            slowest = std::max(slowest, clock.elapsed());
        }
        return -1;
    }

private:
    bool wrong(const QString &what)
    {
        *why_ = what;
        return false;
    }
    PlanRows table() const { return planRows(me_->store()); }
    TableEditor &editor() { return me_->editor(); }

    std::vector<Cell> block(const Step &s) const
    {
        std::vector<Cell> cells;
        const int row = s.a % 50, col = 1 + s.b % 9, rows = 1 + s.c % 6, cols = 1 + (s.c / 7) % 3;
        for (int r = row; r < std::min(50, row + rows); ++r)
            for (int c = col; c < std::min(10, col + cols); ++c)
                cells.push_back({r, c});
        return cells;
    }
    int shownRow(int n)
    {
        std::vector<int> shown;
        const ShownRows rows = editor().shownRows();
        for (int row = 0; row < 50; ++row)
            if (rows.empty() || rows[std::size_t(row)])
                shown.push_back(row);
        return shown.empty() ? -1 : shown[std::size_t(n) % shown.size()];
    }
    std::vector<int> rows(const Step &s) const
    {
        std::vector<int> out;
        for (int r = s.a % 50; r < std::min(50, s.a % 50 + 1 + s.b % 5); ++r)
            out.push_back(r);
        return out;
    }
    QString file(const QString &name, const QByteArray &bytes)
    {
        return test::writeFile(dir_->filePath(name), bytes) ? dir_->filePath(name) : QString();
    }
    // The table's own CSV, and now and then spoiled as a hostile file is.
    QByteArray csv(int layout, int spoil)
    {
        QByteArray bytes;
        if (!me_->files().csvBytes(layout % 2 ? CsvLayout::Common : CsvLayout::Own, bytes).ok || bytes.isEmpty())
            return bytes;
        QList<QByteArray> lines = bytes.split('\n');
        switch (spoil % 6) {
        case 1: // two channels change places
            if (lines.size() > 4)
                lines.swapItemsAt(1, 1 + spoil % (lines.size() - 2));
            break;
        case 2:
            lines.insert(std::min<qsizetype>(1 + spoil % 3, lines.size()), "7,abc,,,,,,,,\r");
            break;
        case 3:
            return bytes.left(spoil % bytes.size());
        case 4:
            lines.append(lines.value(1));
            break;
        case 5:
            return QByteArray("\xff\xfe\x00junk", 7);
        }
        return lines.join('\n');
    }

    // The edits a grid makes, bound to the rows the filter shows; nothing
    // for a step of another kind.
    std::optional<Result> edit(const Step &s)
    {
        switch (s.kind) {
        // A cell is typed into or picked for only where the grid shows it.
        case 't': return editor().applyTypedValue(shownRow(s.a), s.b % 2 ? TxFrequency : RxFrequency, text(s.c));
        case 'p': return editor().applyPick(1 + s.a % 7, shownRow(s.b), text(s.c));
        case 'v': {
            QString paste;
            for (int n = 0; n < 1 + s.c % 8; ++n)
                paste += text(s.c + n * 5) + ((n + 1) % (1 + s.b % 3) ? "\t" : "\n");
            return editor().paste(paste, block(s), Cell{s.a % 50, 1 + s.b % 9});
        }
        case 'x': return editor().clearCells(block(s));
        case 'f': return editor().fillDown(block(s));
        case 'm': {
            ManyChange change;
            change.values[std::size_t(2 + s.c % 8)] = text(s.c).toStdString();
            change.stepKHz = s.c % 3 ? "" : "12.5";
            return editor().changeMany(rows(s), change);
        }
        case 'r': {
            std::vector<ChannelPreset> sets;
            if (!editor().presets(sets).ok || sets.empty())
                return Result::nothing();
            return editor().insertPreset(rows(s), sets[std::size_t(s.c) % sets.size()]);
        }
        case 's': return editor().sortRows(s.a % 2 ? SortKey::Transmit : SortKey::Receive);
        case 'u': return editor().moveRows(rows(s), s.c % 2 ? 1 : -1);
        case 'd': return editor().dropRows(rows(s), s.c % 51);
        case 'i': return editor().insertRow(s.a % 50, [&s](const Notice &) { return s.c % 2 == 0; });
        case 'e': return editor().deleteRows(rows(s));
        }
        return std::nullopt;
    }

    bool apply(const Step &s)
    {
        const PlanRows before = plan_;
        const ShownRows shown = editor().shownRows();
        const int reloads = reloads_;
        if (const std::optional<Result> r = edit(s)) {
            // Sort, move and drop only reorder the channels, numbered 1 … 50.
            if (r->ok && QByteArray("sud").contains(s.kind) && !looked(reloads)) {
                const PlanRows after = table();
                for (int row = 0; row < 50; ++row)
                    if (after[std::size_t(row)][ChannelNumber] != std::to_string(row + 1))
                        return wrong("the rows are not numbered 1 to 50 in order");
                const auto unnumbered = [](PlanRows rows) {
                    for (ChannelRecord &row : rows)
                        row[ChannelNumber].reset();
                    return rows;
                };
                const PlanRows a = unnumbered(after), b = unnumbered(before);
                if (!std::is_permutation(a.begin(), a.end(), b.begin(), b.end()))
                    return wrong("a row operation lost or made a channel");
            }
            return judge(*r, before, shown, reloads, true);
        }
        Result r;
        switch (s.kind) {
        case 'F':
            editor().setFilter(QStringList{"", "145", "add", "zz", "0"}[s.a % 5], s.b % 2);
            return true;
        case 'U':
        case 'R': return step(s.kind == 'U', before, reloads);
        case 'H': {
            const std::vector<ChannelHistory::Entry> kept = me_->history().entries();
            if (kept.empty())
                return true;
            const qint64 id = kept[std::size_t(s.a) % kept.size()].id;
            r = editor().restoreSnapshot(id);
            if (r.ok && !ChannelHistory::differingRows(table(), *me_->history().rows(id)).empty())
                return wrong("a restore left other channels than the snapshot's");
            break;
        }
        case 'C': {
            const QByteArray bytes = csv(s.a, s.b);
            r = me_->files().importCsv([&] { return file("in.csv", bytes); });
            if (r.ok && s.b % 6 == 0 && s.a % 2 == 0 && !ChannelHistory::differingRows(table(), before).empty())
                return wrong("the table's own CSV read back as another plan");
            break;
        }
        case 'O': {
            const QString path = dir_->filePath("plan.doc");
            if (s.b % 3 == 0)
                file("plan.doc", QByteArray(s.c % 400, char(s.a)));
            else if (!me_->files().saveChannelFile([&] { return path; }).ok)
                return wrong("the channel file was not saved");
            r = me_->files().openChannelFile([&] { return path; });
            const PlanRows now = table();
            if (r.ok && s.b % 3 &&
                !ChannelHistory::differingRows({now.begin(), now.begin() + 16}, {before.begin(), before.begin() + 16})
                     .empty())
                return wrong("the channel file read back as another plan");
            break;
        }
        case 'X': { // another program imports over the table
            const QByteArray bytes = csv(0, s.b % 2);
            if (them_->files().importCsv([&] { return file("other.csv", bytes); }).ok) {
                plan_ = planRows(them_->store());
                stale_ = true;
            }
            return true;
        }
        case 'Z': {
            sim::RadioSimulatorOptions faults;
            const int which = s.a % 5;
            faults.stopAfterFrames = which == 1 ? s.b % 50 : -1;
            faults.malformedFrameAt = which == 2 ? 1 + s.b % 50 : 0;
            faults.silentAfterB = which == 3;
            faults.silentAfterWrite = which == 4;
            sim_->setFaults(faults);
            return true;
        }
        case 'W':
        case 'V':
        case 'Q':
        case 'E': return transfer(s, before, reloads);
        }
        return judge(r, before, shown, reloads, false);
    }

    // What the model makes of a change: refused ones change nothing; done
    // ones are one undo step; edits never reach a row the filter hides.
    bool judge(const Result &r, PlanRows before, const ShownRows &shown, int reloads, bool tableEdit)
    {
        if (looked(reloads))
            before = plan_;
        const PlanRows after = table();
        if (!r.ok && after != before)
            return wrong("a refused change changed the table");
        if (tableEdit && r.ok)
            for (int row = 0; row < 50; ++row)
                if (!shown.empty() && !shown[std::size_t(row)] && !sameChannel(after[std::size_t(row)], before[std::size_t(row)]))
                    return wrong(QString("an edit reached hidden row %1").arg(row + 1));
        if (after != before) {
            undo_.push_back(before);
            redo_.clear();
        }
        plan_ = after;
        return true;
    }

    // The program looked at the store before the step: another program's
    // plan, if it changed the store, is the table now, and undo starts
    // again from it.
    bool looked(int reloads)
    {
        stale_ = false;
        if (reloads_ == reloads)
            return false;
        undo_.clear();
        redo_.clear();
        return true;
    }

    bool step(bool back, const PlanRows &before, int reloads)
    {
        const Result r = back ? editor().undo() : editor().redo();
        looked(reloads);
        std::vector<PlanRows> &from = back ? undo_ : redo_, &to = back ? redo_ : undo_;
        if (!r.ok)
            return table() == plan_ || wrong("a refused undo or redo changed the table");
        if (from.empty())
            return wrong("undo or redo went past the model's steps");
        if (table() != from.back())
            return wrong("undo or redo did not move exactly one step");
        to.push_back(before);
        plan_ = from.back();
        from.pop_back();
        return true;
    }

    bool transfer(const Step &s, const PlanRows &before, int reloads)
    {
        Transfers &t = me_->transfers();
        const bool reading = s.kind == 'Q' || s.kind == 'E';
        t.setVerifyAfterWrite(s.kind == 'V');
        QList<Notice> told;
        const auto listen = QObject::connect(me_, &Programmer::notice, [&](const Notice &n) { told << n; });
        const auto disconnect = qScopeGuard([&] { QObject::disconnect(listen); });
        Result r = reading ? t.read() : t.write();
        if (r.ok && s.kind == 'E') // no change of any kind while the read collects
            for (const char kind : QByteArray("tpvxfmrsudie"))
                if (edit({kind, s.a, s.b, s.c})->ok || editor().undo().ok || table() != plan_)
                    return wrong("the table changed while a read collected");
        // qWait runs the loop for the 1 ms ticks; qWaitFor would sleep 10 ms between looks.
        for (int waited = 0; me_->controller().transferRunning(); waited += 2)
            if (waited > 10000)
                return wrong("a transfer never ended");
            else
                QTest::qWait(2);
        const bool ok = r.ok && told.isEmpty();
        const PlanRows after = table();
        if (reading && ok && framesOf(after) != sim_->frames())
            return wrong("a read left another plan than the radio's");
        if (reading && !ok && after != plan_)
            return wrong("a failed read changed the table");
        if (!reading && r.ok)
            radio_ = ok ? std::optional(framesOf(after)) : std::nullopt;
        // The radio takes the last frame a moment after the line carried it.
        if (radio_ && !QTest::qWaitFor([&] { return sim_->frames() == *radio_; }, 1000))
            return wrong("the radio does not hold the last plan written");
        if (ok) {
            const std::vector<ChannelHistory::Entry> kept = me_->history().entries();
            if (kept.empty() || kept.front().reason == ChannelHistory::Reason::WriteUnfinished ||
                !ChannelHistory::differingRows(*me_->history().rows(kept.front().id), after).empty())
                return wrong("the history does not hold the transfer");
        }
        sim_->setFaults({});
        return judge(r, before, {}, reloads, false);
    }

    bool check()
    {
        if (stale_)
            return true; // shown until the next step looks
        if (table() != plan_)
            return wrong("the table is not the model's plan");
        them_->editor().refresh();
        if (planRows(them_->store()) != plan_)
            return wrong("the file holds another plan than the table shows");
        // The model's verdict on every row: it may go to the radio.
        if (const PlanFrames judged = encodePlan(plan_); !judged.ok())
            return wrong(QString("channel %1 cannot be written").arg(judged.problems.front().channel));
        if (editor().canUndo() != !undo_.empty() || editor().canRedo() != !redo_.empty())
            return wrong("undo or redo is offered where the model has none, or the other way round");
        return true;
    }

    QString *why_;
    QTemporaryDir *dir_ = nullptr;
    RadioSimulator *sim_ = nullptr;
    Programmer *me_ = nullptr;
    Programmer *them_ = nullptr;
    PlanRows plan_;
    std::vector<PlanRows> undo_, redo_;
    std::optional<QStringList> radio_;
    int reloads_ = 0;
    bool stale_ = false;
};

Sequence randomSequence(QRandomGenerator &random, int steps)
{
    Sequence out;
    for (int n = 0; n < steps; ++n)
        out.push_back({kKinds[random.bounded(int(sizeof kKinds) - 1)], int(random.bounded(1 << 16)),
                       int(random.bounded(1 << 16)), int(random.bounded(1 << 16))});
    return out;
}

// Takes steps away while it still fails: halves, then quarters, down to
// single steps.
Sequence shrink(Sequence steps)
{
    for (std::size_t chunk = steps.size() / 2; chunk >= 1; chunk /= 2)
        for (std::size_t at = 0; at + chunk <= steps.size();) {
            Sequence fewer = steps;
            fewer.erase(fewer.begin() + long(at), fewer.begin() + long(at + chunk));
            QString why;
            if (Run(&why).play(fewer) >= 0)
                steps = fewer;
            else
                at += chunk;
        }
    return steps;
}

QString saved(const Sequence &steps)
{
    QString out;
    for (const Step &s : steps)
        out += QString("%1 %2 %3 %4\n").arg(QChar(s.kind)).arg(s.a).arg(s.b).arg(s.c);
    return out;
}


} // namespace

class TestSequences : public QObject {
    Q_OBJECT
private slots:
    void savedSequences()
    {
        const QDir dir(QStringLiteral(VQ_SEQUENCES_DIR));
        for (const QString &name : dir.entryList({"*.txt"}, QDir::Files)) {
            QFile f(dir.filePath(name));
            QVERIFY(f.open(QIODevice::ReadOnly));
            Sequence steps;
            for (const QByteArray &line : f.readAll().split('\n'))
                if (const QList<QByteArray> w = line.split(' '); w.size() == 4)
                    steps.push_back({w[0][0], w[1].toInt(), w[2].toInt(), w[3].toInt()});
            QString why;
            const int at = Run(&why).play(steps);
            QVERIFY2(at < 0, qPrintable(QString("%1, step %2: %3").arg(name).arg(at + 1).arg(why)));
        }
    }
    void randomSequences()
    {
        const quint32 seed = quint32(test::setting("VQ_SEED", int(QRandomGenerator::global()->bounded(1 << 30))));
        const int count = test::setting("VQ_SEQUENCES", 200), length = test::setting("VQ_STEPS", 40);
        qInfo("seed %u: %d sequences of %d steps (VQ_SEED=%u replays it)", seed, count, length, seed);
        QRandomGenerator random(seed);
        for (int n = 0; n < count; ++n) {
            const Sequence steps = randomSequence(random, length);
            QString why;
            const int at = Run(&why).play(steps);
            if (at >= 0) {
                const Sequence shortest = shrink(Sequence(steps.begin(), steps.begin() + at + 1));
                const QString path = QDir(QStringLiteral(VQ_SEQUENCES_DIR)).filePath(QString("seed-%1-%2.txt").arg(seed).arg(n));
                QFile out(path);
                if (out.open(QIODevice::WriteOnly))
                    out.write(saved(shortest).toUtf8());
                QFAIL(qPrintable(QString("seed %1, sequence %2, step %3: %4\nshrunk to %5 steps, saved as %6:\n%7")
                                     .arg(seed).arg(n + 1).arg(at + 1).arg(why).arg(shortest.size()).arg(path, saved(shortest))));
            }
        }
        qInfo("sequences %d, steps %d, divergences 0, slowest step %lld ms", count, count * length,
              Run::slowest);
    }
};

QTEST_GUILESS_MAIN(TestSequences)
#include "tst_sequences.moc"
