// One judge of what can go to the radio, one save guard, and plans compared
// as the radio holds them: every surface that reads a stored value gives it
// the same verdict, nothing saves over the open store, and a plan written
// and read straight back differs in nothing.
#include "RadioSimulator.h"
#include "channels/ChannelJudge.h"
#include "channels/ValueDomains.h"
#include "files/ChannelCsv.h"
#include "plan/AirRules.h"
#include "plan/BulkEdit.h"
#include "plan/CsvExchange.h"
#include "plan/EditTexts.h"
#include "plan/FileSave.h"
#include "plan/FileTexts.h"
#include "plan/Language.h"
#include "plan/PlanFrames.h"
#include "radio/ChannelFrame.h"
#include "support/PlanRig.h"
#include "support/StoreHelpers.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace vq;
using vq::sim::RadioSimulator;

Q_DECLARE_METATYPE(vq::Field)
Q_DECLARE_METATYPE(std::optional<vq::Refusal>)

namespace {

const std::vector<ChannelStore::Change> kRow2 = {{2, RxFrequency, "145.00000"},
                                                 {2, TxFrequency, "145.00000"},
                                                 {2, Scan, "add"},
                                                 {2, Bcl, "off"},
                                                 {2, Beat, "off"}};

sim::RadioSimulatorOptions unpaced()
{
    sim::RadioSimulatorOptions options;
    options.paced = false;
    return options;
}

// A value of `field` the radio can hold, in one of the forms people and
// other programs store it in.
std::string validValue(Field field, QRandomGenerator &random)
{
    const auto pick = [&random](std::initializer_list<const char *> list) {
        return std::string(*(list.begin() + random.bounded(static_cast<int>(list.size()))));
    };
    switch (field) {
    case ChannelNumber:
        return pick({"1", " 3 ", "３", "127", "42"});
    case RxFrequency:
    case TxFrequency:
        return pick({"130", "145.5", "１４５．５", " 430.12500", "145.00625", "500.00000", "462.5625"});
    case RxTone:
    case TxTone:
        return pick({"", " ", "0", "67", "67.0", "88.5", "250.3", "100"});
    case RxDcs:
    case TxDcs:
        return pick({"", " ", "023", "23", "754", " 431 "});
    case Scan:
        return pick({"", " ", "add", "del", " del"});
    case Bcl:
        return pick({"", " ", "off", "0", "1", "2"});
    case Beat:
        return pick({"", " ", "off", "on", "on "});
    }
    return {};
}

} // namespace

class TestPlanJudge : public QObject {
    Q_OBJECT
private slots:
    // Whatever the judge lets through, the frame carries exactly: encoded and
    // read back it is the judge's own picture of the channel.
    void passedRowsComeBackAsJudged()
    {
        QRandomGenerator random(20261207);
        for (int n = 0; n < 2000; ++n) {
            ChannelRecord record;
            for (int f = 0; f < kFieldCount; ++f)
                record[f] = validValue(Field(f), random);
            // One tone kind per direction: the radio holds only one.
            record[random.bounded(2) ? RxTone : RxDcs] = std::string();
            record[random.bounded(2) ? TxTone : TxDcs] = std::string();
            const ChannelVerdict verdict = judgeChannel(record);
            QVERIFY2(verdict.ok(), qPrintable(QString::number(n)));
            const EncodeResult encoded = encodeChannelFrame(verdict.radio);
            QVERIFY(encoded.ok());
            const DecodeResult decoded = decodeChannelFrame(*encoded.frame);
            QVERIFY(decoded.ok());
            for (int f = RxFrequency; f < kFieldCount; ++f)
                QCOMPARE(textOf(verdict.radio[f]), decoded.fields->at(Field(f)));
            QCOMPARE(radioImage(verdict.radio), verdict.radio);
        }
        // Anchors: the forms a read gives back.
        ChannelRecord typed{"5", "１４５．５", "67.0", "", " 145.5 ", "", "23", " ", "", "on "};
        const ChannelVerdict verdict = judgeChannel(typed);
        QCOMPARE(verdict.radio,
                 (ChannelRecord{"5", "145.50000", "67", "", "145.50000", "", "023", "add", "off", "on"}));
        QVERIFY(judgeChannel({"x", "0", "abc", "999"}).empty);
        // Of several faults the first in the row is named.
        QCOMPARE(judgeChannel({"0", "145", "100.5", "", "", "", "", "x"}).refusal->field, ChannelNumber);
    }

    // One stored value, one verdict: check, the write, the program's own CSV
    // layout, the common layout and paste agree on every row of the table.
    void everySurfaceGivesTheSameVerdict_data()
    {
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<std::optional<Refusal>>("refusal");
        const std::optional<Refusal> ok;
        QTest::newRow("number 0") << ChannelNumber << "0" << std::optional(Refusal::NumberOutOfRange);
        QTest::newRow("number abc") << ChannelNumber << "abc" << std::optional(Refusal::NumberNotWhole);
        QTest::newRow("number blank") << ChannelNumber << " " << std::optional(Refusal::NumberMissing);
        QTest::newRow("number 3.5") << ChannelNumber << "3.5" << std::optional(Refusal::NumberNotWhole);
        QTest::newRow("number full-width") << ChannelNumber << "３" << ok;
        QTest::newRow("rx abc") << RxFrequency << "abc" << std::optional(Refusal::NotFrequency);
        QTest::newRow("rx 129.99") << RxFrequency << "129.99" << std::optional(Refusal::FrequencyOutOfRange);
        QTest::newRow("rx off raster") << RxFrequency << "145.0030" << std::optional(Refusal::OffRaster);
        QTest::newRow("rx full-width") << RxFrequency << "１４５．５" << ok;
        QTest::newRow("tx 600") << TxFrequency << "600" << std::optional(Refusal::FrequencyOutOfRange);
        QTest::newRow("tx 6 digits") << TxFrequency << "145.000001" << std::optional(Refusal::OffRaster);
        QTest::newRow("tone 67") << RxTone << "67" << ok;
        QTest::newRow("tone 100.5") << TxTone << "100.5" << std::optional(Refusal::NotTone);
        QTest::newRow("dcs 999") << RxDcs << "999" << std::optional(Refusal::NotDcs);
        QTest::newRow("dcs 23") << TxDcs << "23" << ok;
        QTest::newRow("scan maybe") << Scan << "maybe" << std::optional(Refusal::NotChoice);
        QTest::newRow("bcl 3") << Bcl << "3" << std::optional(Refusal::NotChoice);
        QTest::newRow("beat on") << Beat << " on" << ok;
    }
    void everySurfaceGivesTheSameVerdict()
    {
        QFETCH(Field, field);
        QFETCH(QString, value);
        QFETCH(std::optional<Refusal>, refusal);
        RadioSimulator sim(unpaced());
        VQ_RIG(rig, db(), sim.devicePath());
        QVERIFY(rig.store().apply(kRow2));
        QVERIFY(rig.store().setField(2, field, value.toStdString()));
        const PlanRows plan = planRows(rig.store());

        // check
        const PlanFrames frames = encodePlan(plan);
        QCOMPARE(frames.ok(), !refusal);
        if (refusal) {
            QCOMPARE(frames.problems.first().channel, 3);
            QCOMPARE(frames.problems.first().refusal.why, *refusal);
            QCOMPARE(frames.problems.first().refusal.field, field);
        }
        // the write: refused before a character goes out
        QCOMPARE(rig.take(rig.programmer.transfers().write()), !refusal);
        if (refusal)
            QVERIFY(sim.received().isEmpty());
        rig.programmer.shutDown();

        // both importers, onto a table that is empty
        VQ_RIG(fresh, db(), QString());
        const QString own = dir_.filePath(QStringLiteral("own.csv"));
        CsvRecord header;
        for (std::string_view name : fieldNames())
            header.push_back(std::string(name));
        const CsvRecord row(plan[2].begin(), plan[2].end());
        QVERIFY(test::writeFile(own, QByteArray::fromStdString(writeCsv(std::vector{header, row}))));
        QCOMPARE(fresh.take(fresh.programmer.files().importCsv([&own] { return own; })), !refusal);
        if (field == RxFrequency || field == TxFrequency) {
            const QString common = dir_.filePath(QStringLiteral("common.csv"));
            const QString rx = field == RxFrequency ? value : QStringLiteral("145.00000");
            const QString tx = field == TxFrequency ? value : rx;
            QVERIFY(test::writeFile(
                common,
                QStringLiteral(
                    "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity\n"
                    "3,%1,split,%2,,88.5,88.5,023,NN\n")
                    .arg(rx, tx)
                    .toUtf8()));
            VQ_RIG(other, db(), QString());
            QCOMPARE(other.take(other.programmer.files().importCsv([&common] { return common; })), !refusal);
        }
        // paste of the one value (the channel number is never pasted)
        if (field != ChannelNumber) {
            VQ_RIG(pasted, db(), QString());
            QVERIFY(pasted.store().apply(kRow2));
            QCOMPARE(pasted.take(pasted.programmer.editor().paste(value, {{2, field}}, {2, field})), !refusal);
        }
    }

    // Only frames on the line make a write: one the radio never took is
    // nowhere in the history.
    void aWriteThatSentNothingIsNoWrite()
    {
        RadioSimulator sim(unpaced());
        VQ_RIG(rig, db(), sim.devicePath());
        rig.quicken();
        QVERIFY(rig.store().apply(kRow2));
        QObject::connect(&sim, &RadioSimulator::commandReceived, &sim, [&sim](char c) {
            if (c == 'A')
                sim.hangUp();
        });
        QVERIFY(rig.take(rig.programmer.transfers().write()));
        QTRY_COMPARE(rig.state(), LinkController::State::Idle);
        QVERIFY(rig.programmer.history().entries().empty());
    }

    // Every save goes through one guard: never over the open store or its
    // journal, never into a folder, pipe or device; the old file's
    // permissions stay.
    void oneSaveGuard()
    {
        VQ_RIG(rig, db(), QString());
        QVERIFY(rig.store().apply(kRow2));
        const QString store = rig.store().path();
        const QByteArray before = test::digest(store);
        const QString fifo = dir_.filePath(QStringLiteral("pipe"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString link = dir_.filePath(QStringLiteral("link.csv"));
        QVERIFY(QFile::link(store, link));
        for (const QString &target : {store, store + QStringLiteral("-journal"), link, dir_.path(), fifo,
                                      QStringLiteral("/dev/null")}) {
            QVERIFY2(!rig.take(rig.programmer.files().exportCsvTo(CsvLayout::Own, target)), qPrintable(target));
            // A chosen name without an extension gets one: those are new files.
            if (QFileInfo(target).suffix().isEmpty())
                continue;
            QVERIFY(!rig.take(rig.programmer.files().saveChannelFile([&target] { return target; })));
            QVERIFY(!rig.take(rig.programmer.traces().saveTrace([&target] { return target; })));
        }
        QCOMPARE(test::digest(store), before);
        QCOMPARE(rig.store().field(2, RxFrequency), FieldValue("145.00000"));
        QVERIFY(!QFileInfo::exists(store + QStringLiteral("-journal.csv")));

        const QString kept = dir_.filePath(QStringLiteral("kept"));
        QVERIFY(test::writeFile(kept, "old"));
        QVERIFY(QFile::setPermissions(kept, QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(rig.take(rig.programmer.files().exportCsvTo(CsvLayout::Common, kept)));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(kept).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, 0600u);
        QVERIFY(test::digest(kept) != QCryptographicHash::hash("old", QCryptographicHash::Sha256));
    }

    // The rules of the air at their edges: first and last channel, a step
    // off the grid, split against simplex, receive-only bands, each region
    // and licence, and a channel whose two directions lie in two rules.
    void rulesOfTheAir_data()
    {
        QTest::addColumn<QString>("choice"); // region, "+" for an amateur licence
        QTest::addColumn<QString>("rx");
        QTest::addColumn<QString>("tx");
        QTest::addColumn<QString>("flag"); // fault and band, empty for none
        const auto row = [](const char *choice, const char *rx, const char *tx, const char *flag) {
            QTest::addRow("%s %s/%s", choice, rx, tx) << choice << rx << tx << flag;
        };
        // clang-format off
        row("cn", "409.75000", "409.75000", "");
        row("cn", "409.98750", "409.98750", "");
        row("cn", "410.00000", "410.00000", "NotAllowed");
        row("cn", "409.75625", "409.75625", "OffGrid cn-public");
        row("cn", "409.75000", "409.76250", "Split cn-public");
        row("cn", "145.00000", "145.00000", "NeedsLicence cn-amateur-2m");
        row("cn+", "145.00000", "145.60000", "");
        row("cn+", "147.00000", "147.00000", "NotAllowed");
        row("cn+", "439.99000", "439.99000", "");
        row("eu", "446.00625", "446.00625", "");
        row("eu", "446.19375", "446.19375", "");
        row("eu", "446.20625", "446.20625", "NotAllowed");
        row("eu", "446.01250", "446.01250", "OffGrid eu-pmr446");
        row("eu", "409.75000", "409.75000", "NotAllowed");
        row("us", "462.56250", "462.56250", "");
        row("us", "462.72500", "462.72500", "");
        row("us", "467.71250", "467.71250", "");
        row("us", "467.57500", "467.57500", "OffGrid us-frs-467");
        row("us", "462.73750", "462.73750", "NotAllowed");
        row("us+", "146.52000", "146.52000", "");
        row("cn+", "146.52000", "146.52000", "NotAllowed");
        row("us+", "156.80000", "156.80000", "ReceiveOnly maritime");
        row("eu", "162.40000", "162.40000", "ReceiveOnly weather");
        row("cn+", "137.00000", "137.00000", "ReceiveOnly aviation");
        row("us+", "162.55000", "146.52000", ""); // receive in one rule, transmit in another
        row("", "156.80000", "156.80000", ""); // no region chosen: nothing flagged
        row("cn", "156.80000", "", "");          // no transmit frequency: never transmits
        // clang-format on
    }
    void rulesOfTheAir()
    {
        QFETCH(QString, choice);
        QFETCH(QString, rx);
        QFETCH(QString, tx);
        QFETCH(QString, flag);
        const AirRules &rules = shippedAirRules();
        PlanRows plan(2);
        plan[1][RxFrequency] = rx.toStdString();
        plan[1][TxFrequency] = tx.toStdString();
        const AirChoice chosen{choice.section(QLatin1Char('+'), 0, 0), choice.endsWith(QLatin1Char('+'))};
        const std::vector<AirFlag> flags = checkAir(rules, plan, chosen);
        const char *const faults[] = {"NotAllowed", "NeedsLicence", "OffGrid", "Split", "ReceiveOnly"};
        QString found;
        for (const AirFlag &f : flags) {
            QCOMPARE(f.row, 1);
            found = QString::fromLatin1(faults[int(f.fault)]) +
                    (f.band >= 0 ? QLatin1Char(' ') + rules[std::size_t(f.band)].id : QString());
            // Each flag names its rule's source.
            QVERIFY(f.band < 0 || airFlagText(rules, f).contains(rules[std::size_t(f.band)].source));
        }
        QCOMPARE(found, flag);
    }
    // The rules dialog lists a region's own bands and those of every region.
    void aRegionListsItsOwnBandsAndEveryRegions()
    {
        for (const QString region : {"cn", "eu", "us"}) {
            const AirRules listed = regionRules(shippedAirRules(), region);
            const auto is = [&listed](const QString &r) {
                return std::count_if(listed.begin(), listed.end(), [&r](const AirBand &b) { return b.region == r; });
            };
            QVERIFY(is(region) > 0 && is(QStringLiteral("*")) > 0);
            QCOMPARE(is(region) + is(QStringLiteral("*")), std::ptrdiff_t(listed.size()));
        }
    }
    void reasonsSpeakTheLanguageInUse()
    {
        // Every reason an import, a channel file or an edit gives is chosen in English, values and all.
        QVERIFY(useLanguage(Language::English));
        const auto chinese = qScopeGuard([] { useLanguage(Language::Chinese); });
        const PlanRows plan(kChannelCount, ChannelRecord{"1", "", "", "", "", "", "", "add", "off", "off"});
        const std::string common = "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
                                   "DtcsPolarity,Skip,Comment,Extra\n";
        const std::string own =
            "信道号,接收频率,收哑音,收数字哑音,发送频率,发哑音,发数字哑音,扫描,BCL,拍频\n";
        QStringList said;
        for (std::vector<ChannelStore::Change> changes;
             const std::string &file :
             {common + "1,145,,0,,88.5,88.5,023,NN,P,,\n", // warnings
              common +
                  "1,145.001,+,400,TSQL-R,88.5,88.5,24,RN,X,BCL=3,\n1,145,-,0,,88.5,88.5,023,NN,,,\n2,1\n",
              common + "1,\"", common, own + "51,145,88.4,,900,,,x,3,\n", own.substr(0, 20)})
            for (const Notice &n : csvChanges(file, plan, changes).notices)
                said << n.text + n.informative;
        said << channelFileProblem(13, ChannelFileError::TooFewItems)
             << channelFileValueProblem(3, {RxTone, Refusal::NotTone, "88.4", {}});
        const std::vector<Cell> none, column = {{1, RxTone}, {3, RxTone}};
        for (const BulkEdit &edit :
             {pasteEdit(plan, "1\n2\n3", none, {48, RxFrequency}), pasteEdit(plan, "1\t2", none, {0, Beat}),
              pasteEdit(plan, "\"x", none, {0, 1}), pasteEdit(plan, "x", none, {0, ChannelNumber}),
              pasteEdit(plan, std::string(52, '\n') + "x", none, {0, 1}), fillDownEdit(plan, none),
              pasteEdit(plan, "\x01", none, {0, 1}), pasteEdit(plan, "145", column, {}),
              changeManyEdit(plan, std::vector{1}, {{}, "x"}), presetEdit(plan, {}, {}),
              pasteEdit(plan, "145", {}, {0, TxFrequency}), pasteEdit(plan, "", none, {0, 1})})
            said << bulkRefusal(QString(), edit).informative;
        for (const ChannelPreset &preset : shippedChannelPresets())
            said << preset.shownName();
        for (const QString &text : said)
            QVERIFY2(!text.isEmpty() && !text.contains(QRegularExpression("\\p{Han}")), qPrintable(text));
    }

private:
    QTemporaryDir dir_;
    int count_ = 0;
    QString db() { return dir_.filePath(QStringLiteral("j%1.db").arg(++count_)); }
};

QTEST_GUILESS_MAIN(TestPlanJudge)
#include "tst_planjudge.moc"
