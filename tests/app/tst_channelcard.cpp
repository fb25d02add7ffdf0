// The channel card as 文件 → 导出PDF writes it, read back as a person reads the page.
#include "app/Appearance.h"
#include "app/MainWindow.h"
#include "plan/ChannelCard.h"
#include "plan/Programmer.h"
#include "support/RecordingMessenger.h"
#include "support/StoreHelpers.h"

#include <QAction>
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
