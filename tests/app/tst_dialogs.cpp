#include "app/AboutWindow.h"
#include "app/InstructionsWindow.h"
#include "app/MainWindow.h"
#include "app/PortDialog.h"
#include "app/SystemInfo.h"
#include "channels/ChannelStore.h"
#include "support/PtyPair.h"
#include "support/RecordingMessenger.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace vq;
using vq::test::DeviceHolder;
using vq::test::PtyPair;
using vq::test::RecordingMessenger;

namespace {

// A main window on a fresh store and two pseudo-terminals as COM1 and COM2,
// port 1 open; no start-up write.
struct Rig {
    QTemporaryDir dir;
    ChannelStore store;
    PtyPair pty1, pty2;
    RecordingMessenger messenger;
    std::unique_ptr<MainWindow> window;

    Rig()
    {
        store.open(dir.filePath(QStringLiteral("t.db")));
        window = std::make_unique<MainWindow>(store, messenger);
        window->link().setDevicePaths(pty1.devicePath(), pty2.devicePath());
        window->link().setCommPort(1);
        window->link().open();
    }
    SerialLink &link() { return window->link(); }

    PortDialog *portDialog()
    {
        window->showPortDialog();
        return window->findChild<PortDialog *>(QStringLiteral("Dialog"));
    }
    static void choose(PortDialog *dialog, const char *option)
    {
        dialog->findChild<QRadioButton *>(QString::fromLatin1(option))->click();
    }
    static void pressOk(PortDialog *dialog)
    {
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("OKButton")), Qt::LeftButton);
    }
    static bool selected(PortDialog *dialog, const char *option)
    {
        return dialog->findChild<QRadioButton *>(QString::fromLatin1(option))->isChecked();
    }
};

// Sets PATH for one test and puts the old one back, since the device holder
// needs it to find flock.
struct PathGuard {
    QByteArray saved = qgetenv("PATH");
    explicit PathGuard(const QByteArray &path) { qputenv("PATH", path); }
    ~PathGuard() { qputenv("PATH", saved); }
};

QString labelText(QWidget *window, const char *name)
{
    return window->findChild<QLabel *>(QString::fromLatin1(name))->text();
}

} // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void switchesToAFreePort();
    void heldPortIsReportedAndLeavesNoPortOpen();
    void currentButClosedPortIsOpenedAgain();
    void nothingHappensWithoutAChoice();
    void switchIsRefusedDuringATransfer();
    void eachWindowExistsOnce();
    void captions();
    void enterAndEscCloseTheHelpWindows();
    void systemInformation();
};

void TestDialogs::switchesToAFreePort()
{
    Rig rig;
    QVERIFY(rig.link().isOpen());

    QPointer<PortDialog> dialog = rig.portDialog();
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(Rig::selected(dialog, "Option1"));
    QVERIFY(!Rig::selected(dialog, "Option2"));
    Rig::pressOk(dialog);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(rig.link().commPort(), 1);
    QVERIFY(rig.link().send("6"));
    QCOMPARE(rig.pty1.readAtLeast(1, 2000), QByteArray("6"));

    dialog = rig.portDialog();
    Rig::choose(dialog, "Option2");
    Rig::pressOk(dialog);
    QTRY_VERIFY(dialog.isNull());
    QCOMPARE(rig.link().commPort(), 2);
    QVERIFY(rig.link().send("6"));
    QCOMPARE(rig.pty2.readAtLeast(1, 2000), QByteArray("6"));
    QCOMPARE(rig.pty1.readAvailable(), QByteArray());
    {
        // Port 1 is let go: another program can take it now.
        DeviceHolder other(rig.pty1.devicePath());
        QVERIFY(other.isHolding());
    }
    QVERIFY(rig.messenger.notices.isEmpty());

    dialog = rig.portDialog();
    QVERIFY(Rig::selected(dialog, "Option2"));
    QVERIFY(!Rig::selected(dialog, "Option1"));
}

void TestDialogs::heldPortIsReportedAndLeavesNoPortOpen()
{
    Rig rig;
    DeviceHolder holder2(rig.pty2.devicePath());
    QVERIFY(holder2.isHolding());
    PortDialog *dialog = rig.portDialog();
    Rig::choose(dialog, "Option2");
    Rig::pressOk(dialog);
    QCOMPARE(rig.messenger.notices.size(), 1);
    const Notice notice = rig.messenger.notices.first();
    QCOMPARE(notice.text, QStringLiteral("串行端口 2 已被使用， "));
    QCOMPARE(notice.title, QStringLiteral("系统信息"));
    QCOMPARE(notice.icon, Notice::Icon::Exclamation);
    QVERIFY(dialog->isVisible());
    QVERIFY(!rig.link().isOpen());
    QCOMPARE(rig.link().commPort(), 2);

    // Port 1 was let go before port 2 failed; now hold it too.
    DeviceHolder holder1(rig.pty1.devicePath());
    QVERIFY(holder1.isHolding());
    Rig::choose(dialog, "Option1");
    Rig::pressOk(dialog);
    QCOMPARE(rig.messenger.texts().last(), QStringLiteral("串行端口 1 已被使用 "));
    QCOMPARE(rig.messenger.notices.last().title, QStringLiteral("系统信息"));
    QVERIFY(dialog->isVisible());
    QVERIFY(!rig.link().isOpen());
    QCOMPARE(rig.link().commPort(), 1);
}

void TestDialogs::currentButClosedPortIsOpenedAgain()
{
    Rig rig;
    rig.link().setDevicePaths(rig.pty1.devicePath(), QStringLiteral("/nonexistent/tty"));
    QPointer<PortDialog> dialog = rig.portDialog();
    Rig::choose(dialog, "Option2");
    Rig::pressOk(dialog);
    QCOMPARE(rig.messenger.texts(), QStringList{QStringLiteral("串行端口 2 已被使用， ")});
    QVERIFY(!rig.link().isOpen());

    // The same choice again, once the device is there, must not leave the
    // link without a port.
    rig.link().setDevicePaths(rig.pty1.devicePath(), rig.pty2.devicePath());
    Rig::pressOk(dialog);
    QTRY_VERIFY(dialog.isNull());
    QVERIFY(rig.link().isOpen());
    QVERIFY(rig.link().send("6"));
    QCOMPARE(rig.pty2.readAtLeast(1, 2000), QByteArray("6"));
    QCOMPARE(rig.messenger.notices.size(), 1);
}

void TestDialogs::nothingHappensWithoutAChoice()
{
    Rig rig;
    rig.link().close();
    rig.link().setCommPort(3);
    PortDialog *dialog = rig.portDialog();
    QVERIFY(!Rig::selected(dialog, "Option1"));
    QVERIFY(!Rig::selected(dialog, "Option2"));
    Rig::pressOk(dialog);
    QTest::qWait(50);
    QVERIFY(dialog->isVisible());
    QCOMPARE(rig.link().commPort(), 3);
    QVERIFY(rig.messenger.notices.isEmpty());

    // Neither button is default or cancel: Enter on OK and Esc do nothing.
    Rig::choose(dialog, "Option1");
    auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("OKButton"));
    QTest::keyClick(ok, Qt::Key_Return);
    QTest::keyClick(ok, Qt::Key_Enter);
    QTest::keyClick(ok, Qt::Key_Escape);
    QTest::qWait(50);
    QVERIFY(dialog->isVisible());
    QCOMPARE(rig.link().commPort(), 3);
    QVERIFY(!rig.link().isOpen());

    // Nor does Cancel.
    QPointer<PortDialog> guard = dialog;
    QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("CancelButton")), Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(rig.link().commPort(), 3);
    QVERIFY(!rig.link().isOpen());
}

void TestDialogs::switchIsRefusedDuringATransfer()
{
    Rig rig;
    LinkController::Intervals slow;
    slow.readStart = 60000;
    rig.window->controller().setIntervals(slow);
    rig.window->controller().startRead();
    QVERIFY(rig.window->controller().transferRunning());

    PortDialog *dialog = rig.portDialog();
    Rig::choose(dialog, "Option2");
    Rig::pressOk(dialog);
    QCOMPARE(rig.messenger.texts(), QStringList{QStringLiteral("数据传送中，请稍后再选择端口")});
    QVERIFY(dialog->isVisible());
    QCOMPARE(rig.link().commPort(), 1);
    QVERIFY(rig.link().isOpen());
}

void TestDialogs::eachWindowExistsOnce()
{
    Rig rig;
    MainWindow &w = *rig.window;
    const std::pair<const char *, void (MainWindow::*)()> windows[] = {
        {"Dialog", &MainWindow::showPortDialog},
        {"frmAbout1", &MainWindow::showInstructions},
        {"frmAbout", &MainWindow::showAbout}};
    for (const auto &[name, show] : windows) {
        const QString objectName = QString::fromLatin1(name);
        (w.*show)();
        QPointer<QWidget> first = w.findChild<QWidget *>(objectName);
        (w.*show)();
        QCOMPARE(w.findChildren<QWidget *>(objectName).size(), 1);
        QVERIFY2(first && first->isVisible(), name);
        QVERIFY(first->isWindow());

        first->close();
        QTRY_VERIFY2(first.isNull(), name);
        (w.*show)();
        QWidget *again = w.findChild<QWidget *>(objectName);
        QVERIFY2(again && again->isVisible(), name);
    }
}

void TestDialogs::captions()
{
    const auto blanks = [](int n) { return QString(n, QLatin1Char(' ')); };
    const QString text = InstructionsWindow::instructionsText();
    QCOMPARE(text.size(), 384);
    const QString expected =
        blanks(18) + "操作说明" + blanks(25) +
        "一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（或串行口2）联结。" +
        blanks(4) + "二，打开对讲机电源，屏显显示“对讲机就续”。" + blanks(4) +
        "三，写频操作：用鼠标点菜单项“写信道数椐”。" + blanks(4) +
        "四，读频操作：用鼠标点菜单项“读信道数据”。" + blanks(4) +
        "五，文件操作：使用操作“文件”菜单的“保存文" + blanks(7) +
        "件”子菜单，打开保存文件对话框，可以将当前" + blanks(6) + "的频率数据保存（文件名自选，后缀" +
        blanks(2) + ".doc）。" + blanks(6) + "同样使用“打开文件”子菜单，可以将保存的频" + blanks(6) +
        "率数据文件重新调出使用。" + blanks(21) + "六，设置端口：如有必要，可操作\"系统设置\"菜单" +
        blanks(7) + "的“选择端口”子菜单项，改变当前使用的串行" + blanks(6) + "口。" + blanks(4);
    QCOMPARE(text, expected);

    InstructionsWindow instructions;
    QCOMPARE(instructions.windowTitle(), QStringLiteral("操作说明"));
    QCOMPARE(labelText(&instructions, "lblDescription"), text);

    RecordingMessenger messenger;
    AboutWindow about(messenger);
    QCOMPARE(about.windowTitle(), QStringLiteral("关于本软件"));
    QCOMPARE(labelText(&about, "lblTitle"), QStringLiteral("    VQ4471写频软件"));
    QCOMPARE(labelText(&about, "lblVersion"), QStringLiteral("      版本 B 1.1"));
    QCOMPARE(labelText(&about, "lblDescription"),
             "本软件是专供用户，对Tarvelon的VQ4471对讲机，编写工作频率及参数的专用软件" + blanks(6));
    QCOMPARE(labelText(&about, "lblDisclaimer"), " 技术咨询： " + AboutWindow::kSupportPointer + blanks(7));
    QCOMPARE(about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo"))->text(),
             QStringLiteral("系统信息(&S)..."));
    QCOMPARE(about.findChildren<QWidget *>(QStringLiteral("Line1")).size(), 2);

    Rig rig;
    PortDialog *dialog = rig.portDialog();
    QCOMPARE(dialog->windowTitle(), QStringLiteral("选择端口"));
    QCOMPARE(labelText(dialog, "Label1"), QStringLiteral("请选择串行口:"));
    QCOMPARE(dialog->findChild<QRadioButton *>(QStringLiteral("Option1"))->text(), QStringLiteral(" COM1"));
    QCOMPARE(dialog->findChild<QRadioButton *>(QStringLiteral("Option2"))->text(), QStringLiteral(" COM2"));
}

void TestDialogs::enterAndEscCloseTheHelpWindows()
{
    Rig rig;
    MainWindow &w = *rig.window;
    for (const char *name : {"frmAbout1", "frmAbout"}) {
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            if (qstrcmp(name, "frmAbout") == 0)
                w.showAbout();
            else
                w.showInstructions();
            QPointer<QWidget> window = w.findChild<QWidget *>(QString::fromLatin1(name));
            QVERIFY(window && window->isVisible());
            QTest::keyClick(window->focusWidget() ? window->focusWidget() : window.data(), key);
            QVERIFY2(!window || !window->isVisible(), name);
            QTRY_VERIFY2(window.isNull(), name);
        }
    }
    QVERIFY(rig.messenger.notices.isEmpty());
}

void TestDialogs::systemInformation()
{
    QTemporaryDir tools;
    const QString mark = tools.filePath(QStringLiteral("started"));
    // The last name on the list: the search must walk all of it.
    const QString script = tools.filePath(systemInfoPrograms().last());
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho started > '" + QFile::encodeName(mark) + "'\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    RecordingMessenger messenger;
    AboutWindow about(messenger);
    about.show();
    {
        PathGuard path(QFile::encodeName(tools.path()));
        QTest::mouseClick(about.findChild<QPushButton *>(QStringLiteral("cmdSysInfo")), Qt::LeftButton);
        QTRY_VERIFY(QFile::exists(mark));
        QVERIFY(messenger.notices.isEmpty());
    }
    {
        PathGuard path("");
        about.startSysInfo();
        QCOMPARE(messenger.notices.size(), 1);
        QCOMPARE(messenger.notices.first().text, QStringLiteral("此时系统信息不可用"));
        QCOMPARE(messenger.notices.first().icon, Notice::Icon::None);
    }
    {
        // Found but it will not start.
        file.open(QIODevice::WriteOnly);
        file.write("#!/nonexistent/interpreter\n");
        file.close();
        PathGuard path(QFile::encodeName(tools.path()));
        about.startSysInfo();
        QCOMPARE(messenger.notices.size(), 2);
    }
    QVERIFY(about.isVisible());
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
