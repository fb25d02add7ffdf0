#include "app/AboutWindow.h"

#include "app/Appearance.h"
#include "app/Messenger.h"
#include "app/SystemInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace vq {

const QString AboutWindow::kSupportPointer = QStringLiteral("README.md");

namespace {

QLabel *makeText(QWidget *parent, const char *name, const QString &text, double points, const QColor &colour,
                 const QRect &geometry)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setFont(kaiFont(points));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
    label->setGeometry(geometry);
    // Room for every line, should the installed Kai face need more height.
    label->resize(label->width(), std::max(label->height(), label->heightForWidth(label->width())));
    return label;
}

// One element of the etched rule: a strip filled with its colour.
void makeRule(QWidget *parent, int index, const QColor &colour, const QRect &geometry)
{
    auto *line = new QWidget(parent);
    line->setObjectName(QStringLiteral("Line1"));
    line->setProperty("index", index);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, colour);
    line->setPalette(p);
    line->setAutoFillBackground(true);
    line->setGeometry(geometry);
}

} // namespace

AboutWindow::AboutWindow(Messenger &messenger, const QString &storePath, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      messenger_(messenger)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("关于本软件"));
    setWindowIcon(appIcon());
    setModal(false);
    setFixedSize(twips(this, 5730), twips(this, 3555));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(appIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setGeometry(twipsRect(this, 600, 240, 480, 480));

    const QColor purple(128, 0, 128);
    makeText(this, "lblTitle", QStringLiteral("    VQ4471写频软件"), 15.75, Qt::red,
             twipsRect(this, 1080, 240, 3405, 480));
    // Major and minor of the project version, as the box has always shown it.
    makeText(this, "lblVersion",
             QStringLiteral("      版本 B ") + QStringLiteral(VQ_VERSION).section(QLatin1Char('.'), 0, 1),
             15.75, Qt::red,
             twipsRect(this, 1200, 840, 3885, 465));
    makeText(this, "lblDescription",
             QStringLiteral("本软件是专供用户，对Tarvelon的VQ4471对讲机，编写工作频率及参数的专用软件") +
                 QString(6, QLatin1Char(' ')),
             12, Qt::blue, twipsRect(this, 960, 1440, 3885, 930));
    makeText(this, "lblDisclaimer",
             QStringLiteral(" 技术咨询： ") + kSupportPointer + QString(7, QLatin1Char(' ')), 14.25, purple,
             twipsRect(this, 120, 2760, 3870, 360));

    // Which file the table lives in (by default a hidden folder of the
    // user's): one line under the help pointer, shortened in the middle when
    // long and whole in its tool tip.
    const QString store =
        QStringLiteral("信道数据库：") + QDir::toNativeSeparators(QFileInfo(storePath).absoluteFilePath());
    auto *storeLabel = new QLabel(this);
    storeLabel->setObjectName(QStringLiteral("lblStore"));
    storeLabel->setTextFormat(Qt::PlainText);
    storeLabel->setFont(songFont(9));
    storeLabel->setGeometry(twipsRect(this, 120, 3150, 3900, 300));
    storeLabel->setText(storeLabel->fontMetrics().elidedText(store, Qt::ElideMiddle, storeLabel->width()));
    storeLabel->setToolTip(store);

    // Grey above white: the rule looks cut into the window.
    makeRule(this, 1, QColor(128, 128, 128),
             QRect(twips(this, 90), twips(this, 2445), twips(this, 5654 - 90), 1));
    makeRule(this, 0, Qt::white, QRect(twips(this, 105), twips(this, 2460), twips(this, 5654 - 105), 2));

    auto *ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twipsRect(this, 4125, 2625, 1500, 345));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *sysInfo = new QPushButton(QStringLiteral("系统信息(&S)..."), this);
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setGeometry(twipsRect(this, 4140, 3075, 1485, 345));
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::startSysInfo);
}

void AboutWindow::startSysInfo()
{
    // No title of its own: the platform shows the program's name instead.
    if (!StartSysInfo())
        messenger_.show(Notice{Notice::Icon::None, QString(), texts::kSysInfoUnavailable, {}});
}

} // namespace vq
