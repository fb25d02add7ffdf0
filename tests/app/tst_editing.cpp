#include "app/ChannelGrid.h"
#include "app/MainWindow.h"
#include "channels/ChannelStore.h"
#include "support/GridTyping.h"
#include "support/RecordingMessenger.h"

#include <QApplication>
#include <QComboBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace vq;

class TestEditing : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void typedFrequencyIsCheckedAndStored();
    void outOfRangeWarnsAndEmptiesOnlyTheEditedField();
    void pickerWritesTheCurrentRow();
    void openCellEditIsCommittedBeforeAPick();

private:
    FieldValue cell(int row, int field) const { return store_->field(row, field); }

    QTemporaryDir dir_;
    int count_ = 0;
    std::unique_ptr<ChannelStore> store_;
    std::unique_ptr<test::RecordingMessenger> messenger_;
    std::unique_ptr<MainWindow> window_;
};

void TestEditing::init()
{
    store_ = std::make_unique<ChannelStore>();
    QVERIFY(store_->open(dir_.filePath(QStringLiteral("e%1.db").arg(++count_))));
    messenger_ = std::make_unique<test::RecordingMessenger>();
    window_ = std::make_unique<MainWindow>(*store_, *messenger_);
    window_->show();
    QApplication::setActiveWindow(window_.get());
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
}

void TestEditing::cleanup()
{
    window_.reset();
    messenger_.reset();
    store_.reset();
}

void TestEditing::typedFrequencyIsCheckedAndStored()
{
    QVERIFY(test::typeIntoCell(window_->grid(), 0, RxFrequency, QStringLiteral("145")));
    QCOMPARE(cell(0, RxFrequency), FieldValue(std::string("145.00000")));
    QCOMPARE(cell(0, TxFrequency), FieldValue(std::string("145.00000")));
    QCOMPARE(window_->grid()->model()->index(0, 4).data().toString(), QStringLiteral("145.00000"));

    // A split transmit frequency stays until the receive frequency is typed again.
    QVERIFY(test::typeIntoCell(window_->grid(), 0, TxFrequency, QStringLiteral("145.6")));
    QCOMPARE(cell(0, TxFrequency), FieldValue(std::string("145.60000")));
    QCOMPARE(cell(0, RxFrequency), FieldValue(std::string("145.00000")));
    QVERIFY(test::typeIntoCell(window_->grid(), 0, RxFrequency, QStringLiteral("145.0075")));
    QCOMPARE(cell(0, RxFrequency), FieldValue(std::string("145.00500")));
    QCOMPARE(cell(0, TxFrequency), FieldValue(std::string("145.00500")));

    // Letters empty both frequencies without a word.
    QVERIFY(test::typeIntoCell(window_->grid(), 0, RxFrequency, QStringLiteral("abc")));
    QCOMPARE(cell(0, RxFrequency), FieldValue(std::string()));
    QCOMPARE(cell(0, TxFrequency), FieldValue(std::string()));
    // No transmit frequency on a channel without receive frequency.
    QVERIFY(test::typeIntoCell(window_->grid(), 1, TxFrequency, QStringLiteral("145")));
    QCOMPARE(cell(1, TxFrequency), FieldValue(std::string()));
    QVERIFY(messenger_->notices.isEmpty());
    // Locked columns take no typing.
    window_->grid()->setCurrentIndex(window_->grid()->model()->index(2, RxTone));
    QTest::keyClicks(window_->grid(), QStringLiteral("88.5"));
    QVERIFY(!window_->grid()->indexWidget(window_->grid()->currentIndex()));
    QVERIFY(!cell(2, RxTone).has_value());
}

void TestEditing::outOfRangeWarnsAndEmptiesOnlyTheEditedField()
{
    QVERIFY(test::typeIntoCell(window_->grid(), 3, RxFrequency, QStringLiteral("438.5")));
    FieldValue seenWhileWarning;
    messenger_->onShow = [&](const Notice &) { seenWhileWarning = cell(3, RxFrequency); };
    QVERIFY(test::typeIntoCell(window_->grid(), 3, RxFrequency, QStringLiteral("500.00001")));
    QCOMPARE(messenger_->notices.size(), 1);
    QCOMPARE(messenger_->notices[0].text, QStringLiteral("数据超出范围 ！！"));
    QCOMPARE(messenger_->notices[0].title, QStringLiteral("错误警告 "));
    QCOMPARE(messenger_->notices[0].icon, Notice::Icon::Information);
    // The typed text stood in the row while the message was up.
    QCOMPARE(seenWhileWarning, FieldValue(std::string("500.00001")));
    QCOMPARE(cell(3, RxFrequency), FieldValue(std::string()));
    QCOMPARE(cell(3, TxFrequency), FieldValue(std::string("438.50000")));

    QVERIFY(test::typeIntoCell(window_->grid(), 4, RxFrequency, QStringLiteral("145")));
    QVERIFY(test::typeIntoCell(window_->grid(), 4, TxFrequency, QStringLiteral("129.99999")));
    QCOMPARE(messenger_->notices.size(), 2);
    QCOMPARE(cell(4, RxFrequency), FieldValue(std::string("145.00000")));
    QCOMPARE(cell(4, TxFrequency), FieldValue(std::string()));
}

void TestEditing::pickerWritesTheCurrentRow()
{
    ChannelGrid *grid = window_->grid();
    QVERIFY(store_->apply({{5, RxDcs, std::string("023")}, {5, TxDcs, std::string("023")}}));
    grid->setCurrentIndex(grid->model()->index(5, 0));

    // By keyboard on the closed list, as a user would step through it.
    auto *combo1 = window_->findChild<QComboBox *>(QStringLiteral("Combo1"));
    combo1->setFocus();
    QTest::keyClick(combo1, Qt::Key_Down); // " " → "67.0"
    QCOMPARE(cell(5, RxTone), FieldValue(std::string("67.0")));
    QCOMPARE(cell(5, TxTone), FieldValue(std::string("67.0")));
    QCOMPARE(cell(5, RxDcs), FieldValue(std::string()));
    QCOMPARE(cell(5, TxDcs), FieldValue(std::string()));

    window_->pick(4, QStringLiteral("754")); // transmit DCS: receive side untouched
    QCOMPARE(cell(5, TxDcs), FieldValue(std::string("754")));
    QCOMPARE(cell(5, TxTone), FieldValue(std::string()));
    QCOMPARE(cell(5, RxTone), FieldValue(std::string("67.0")));
    window_->pick(2, QStringLiteral(" ")); // blank DCS: no tone either way
    QCOMPARE(cell(5, RxDcs), FieldValue(std::string(" ")));
    QCOMPARE(cell(5, TxDcs), FieldValue(std::string(" ")));
    QCOMPARE(cell(5, RxTone), FieldValue(std::string()));
    window_->pick(5, QStringLiteral("del"));
    window_->pick(6, QStringLiteral("2"));
    window_->pick(7, QStringLiteral("on"));
    QCOMPARE(cell(5, Scan), FieldValue(std::string("del")));
    QCOMPARE(cell(5, Bcl), FieldValue(std::string("2")));
    QCOMPARE(cell(5, Beat), FieldValue(std::string("on")));

    // The picker keeps its pick when another row becomes current.
    grid->setCurrentIndex(grid->model()->index(9, 0));
    QCOMPARE(combo1->currentText(), QStringLiteral("67.0"));
    QVERIFY(!cell(9, RxTone).has_value());

    // No current row: nothing is written anywhere.
    grid->setCurrentIndex(QModelIndex());
    std::vector<ChannelRecord> before;
    for (int r = 0; r < store_->rowCount(); ++r)
        before.push_back(store_->record(r));
    window_->pick(3, QStringLiteral("88.5"));
    for (int r = 0; r < store_->rowCount(); ++r)
        QVERIFY(store_->record(r) == before[std::size_t(r)]);
}

void TestEditing::openCellEditIsCommittedBeforeAPick()
{
    QVERIFY(test::typeIntoCell(window_->grid(), 7, RxFrequency, QStringLiteral("438.5"), false));
    window_->pick(1, QStringLiteral("88.5"));
    QCOMPARE(cell(7, RxFrequency), FieldValue(std::string("438.50000")));
    QCOMPARE(cell(7, TxFrequency), FieldValue(std::string("438.50000")));
    QCOMPARE(cell(7, RxTone), FieldValue(std::string("88.5")));
    QVERIFY(!window_->grid()->indexWidget(window_->grid()->currentIndex()));
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
