// The channel card as 文件 → 导出PDF writes it, read back as a person reads
// the page; the band chart as it is drawn, read back pixel by pixel.
#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "channels/FrequencyRules.h"
#include "plan/BandChart.h"
#include "plan/ChannelCard.h"
#include "plan/Programmer.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QAction>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;

namespace {

struct Window {
    QTemporaryDir dir;
    Programmer programmer;
    test::RecordingMessenger messenger;
    bool ok = programmer.openStore(dir.filePath(QStringLiteral("card.db"))).ok;
    MainWindow window{programmer, messenger};
    void exportPdf(const QString &name)
    {
        messenger.paths << dir.filePath(name);
        window.findChild<QAction *>(QStringLiteral("导出PDF"))->trigger();
    }
    QStringList pdfs() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).filter(".pdf"); }
};

QString run(const QString &tool, const QStringList &arguments)
{
    QProcess process;
    process.start(tool, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAll())
        .replace(QRegularExpression(QStringLiteral("[ \\x{a0}]+")), QStringLiteral(" "));
}

} // namespace

class TestChannelCard : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { installChineseFonts(); }
    void pdfListsEveryChannel()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
            QSKIP("pdftotext and pdfinfo (poppler-utils) are needed to read the card back");
        Window w;
        QStringList all; // the table's lines as the page should read
        for (int row = 0; row < kChannelCount; ++row) {
            const QString rx = row % 20 == 6 ? QString() : QStringLiteral(" %1.12500").arg(400 + row);
            QVERIFY(w.ok && w.programmer.store().apply({{row, RxFrequency, rx.trimmed().toStdString()}}));
            all << QString::number(row + 1) + rx;
        }
        // One full row: its ten fields in the grid's order.
        const QStringList full =
            QStringLiteral("4 403.12500 88.5 023 146.52000 67.0 754 add off on").split(' ');
        for (int field = RxTone; field < kFieldCount; ++field)
            QVERIFY(w.programmer.store().apply({{3, field, full[field].toStdString()}}));
        all[3] = full.join(' ');
        const QStringList filled = all.filter(QStringLiteral(" "));
        const QString heading = QStringLiteral("VQ4471R 信道表\n日期：%1 数据库：card.db 共%2个信道\n"
                                               "信道号 接收频率 (MHz) 哑音(Hz) 数字哑音 发送频率 (MHz)")
                                    .arg(QDate::currentDate().toString(QStringLiteral("yyyy年M月d日")));
        // All 50, then (over the same file) only those with a receive frequency.
        const QString pdf = w.dir.filePath(QStringLiteral("card.pdf"));
        for (bool only : {false, true}) {
            w.messenger.yes = only;
            w.exportPdf(QStringLiteral("card"));
            const QString text =
                run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
            const QStringList table =
                text.split(QLatin1Char('\n')).filter(QRegularExpression(QStringLiteral("^\\d+( |$)")));
            QCOMPARE(table, only ? filled : all);
            QVERIFY2(text.contains(heading.arg(table.size())), qPrintable(text));
            QVERIFY(run(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("\nPages: 1\n")));
        }
        QCOMPARE(w.pdfs(), QStringList{QStringLiteral("card.pdf")});
    }
    // Each channel's mark lies at the pixel column its frequency maps to, in
    // the colour the rules of the air give it; the transmit mark sits apart
    // when it differs; stretches far apart break the axis; a click finds the
    // channel; the files are SVG and PNG by their names.
    void bandChartMarksEachChannel()
    {
        PlanRows plan(kChannelCount);
        const auto put = [&plan](int row, const char *rx, const char *tx) {
            plan[std::size_t(row)][RxFrequency] = std::string(rx);
            plan[std::size_t(row)][TxFrequency] = std::string(tx);
        };
        put(0, "145.00000", "145.00000");
        put(1, "145.50000", "146.10000");
        put(2, "409.75000", "409.75000");
        put(4, "446.00625", "446.00625");
        const std::vector<AirFlag> flags = checkAir(shippedAirRules(), plan, {QStringLiteral("cn"), false});
        const BandChart chart = layOutChart(plan, flags, kChartFileSize);
        QCOMPARE(chart.stretches.size(), std::size_t(3)); // 145–146, 409.75, 446
        QCOMPARE(chart.marks.size(), std::size_t(4));
        QImage image(chart.size.toSize(), QImage::Format_RGB32);
        QPainter painter(&image);
        drawChart(painter, chart);
        painter.end();
        double last = 0;
        for (const BandChart::Mark &mark : chart.marks) {
            const std::int64_t rx = *frequencyUnits(plan[std::size_t(mark.channel - 1)][RxFrequency]);
            QCOMPARE(mark.rxX, *chart.xOf(rx));
            QVERIFY(mark.rxX > last); // in frequency order
            last = mark.rxX;
            const QColor drawn = image.pixelColor(QPointF(mark.rxX, mark.y).toPoint());
            QVERIFY2(mark.flagged ? drawn.red() > 150 && drawn.blue() < 100 : drawn.blue() > 120 && drawn.red() < 100,
                     qPrintable(QString::number(mark.channel)));
            QCOMPARE(chart.channelAt(QPointF(mark.rxX, mark.y)), mark.channel);
        }
        QCOMPARE(chart.marks[0].flagged, true); // 145 MHz needs the licence
        QCOMPARE(chart.marks[2].flagged, false);
        QVERIFY(chart.marks[1].txX && *chart.marks[1].txX > chart.marks[1].rxX);
        QTemporaryDir dir;
        QVERIFY(saveChart(dir.filePath(QStringLiteral("c.svg")), chart).ok);
        QVERIFY(saveChart(dir.filePath(QStringLiteral("c.png")), chart).ok);
        QVERIFY(!saveChart(dir.filePath(QStringLiteral("c.txt")), chart).ok);
        for (const auto &[name, start] : {std::pair{"c.svg", "<?xml"}, {"c.png", "\x89PNG"}}) {
            QFile file(dir.filePath(QString::fromLatin1(name)));
            QVERIFY(file.open(QIODevice::ReadOnly) && file.read(5).startsWith(start));
        }
    }
    void failedPdfLeavesNothing()
    {
        Window w;
        QVERIFY(w.ok && test::writeFile(w.dir.filePath(QStringLiteral("old.pdf")), "old card"));
        // A folder that cannot be made: its name is taken by a file.
        w.exportPdf(QStringLiteral("old.pdf/card.pdf"));
        QCOMPARE(w.messenger.texts(), QStringList{QStringLiteral("文件保存失败")});
        // A card that fails half-way: the draft goes, the old file stays.
        const Result failed =
            ChannelCard::savePdf(w.dir.filePath(QStringLiteral("old")), [](const QString &draft) {
                return test::writeFile(draft, "%PDF-1.4") ? QStringLiteral("磁盘已满") : QString();
            });
        QCOMPARE(failed.notices.value(0).informative, QStringLiteral("磁盘已满"));
        QCOMPARE(w.pdfs(), QStringList{QStringLiteral("old.pdf")});
        QCOMPARE(test::digest(w.dir.filePath(QStringLiteral("old.pdf"))),
                 QCryptographicHash::hash("old card", QCryptographicHash::Sha256));
    }
};

QTEST_MAIN(TestChannelCard)
#include "tst_channelcard.moc"
