#include "app/AboutWindow.h"

#include "app/Appearance.h"
#include "app/Captions.h"
#include "app/Messenger.h"
#include "app/SystemInfo.h"
#include "plan/LinkTexts.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>


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
    // Should the installed Kai face or a translation need more lines, the
    // window's text fitting makes room for them.
    label->setGeometry(geometry);
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
    setCaption(this, this, "windowTitle", QT_TR_NOOP("关于本软件"));
    setWindowIcon(appIcon());
    setModal(false);
    setFixedSize(twips(this, 5730), twips(this, 3555));

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("picIcon"));
    icon->setPixmap(appIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    icon->setGeometry(twipsRect(this, 600, 240, 480, 480));

    const QColor purple(128, 0, 128);
    setCaption(this, makeText(this, "lblTitle", {}, 15.75, Qt::red, twipsRect(this, 1080, 240, 3405, 480)),
               "text", QT_TR_NOOP("    VQ4471写频软件"));
    version_ =
        makeText(this, "lblVersion", versionText(), 15.75, Qt::red, twipsRect(this, 1200, 840, 3885, 465));
    // The trailing blanks belong to the layout the captions were made for.
    setCaption(
        this, makeText(this, "lblDescription", {}, 12, Qt::blue, twipsRect(this, 960, 1440, 3885, 930)),
        "text", QT_TR_NOOP("本软件是专供用户，对Tarvelon的VQ4471对讲机，编写工作频率及参数的专用软件      "));
    disclaimer_ = makeText(this, "lblDisclaimer", disclaimerText(), 14.25, purple,
                           twipsRect(this, 120, 2760, 3870, 360));

    // Which file the table lives in (by default a hidden folder of the
    // user's): one line under the help pointer, shortened in the middle when
    // long and whole in its tool tip.
    store_ = new QLabel(this);
    store_->setObjectName(QStringLiteral("lblStore"));
    store_->setTextFormat(Qt::PlainText);
    store_->setFont(songFont(9));
    store_->setGeometry(twipsRect(this, 120, 3150, 3900, 300));
    storePath_ = QDir::toNativeSeparators(QFileInfo(storePath).absoluteFilePath());
    showStore();

    // Grey above white: the rule looks cut into the window.
    makeRule(this, 1, QColor(128, 128, 128),
             QRect(twips(this, 90), twips(this, 2445), twips(this, 5654 - 90), 1));
    makeRule(this, 0, Qt::white, QRect(twips(this, 105), twips(this, 2460), twips(this, 5654 - 105), 2));

    auto *ok = new QPushButton(this);
    setCaption(this, ok, "text", QT_TR_NOOP("确定"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twipsRect(this, 4125, 2625, 1500, 345));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto *sysInfo = new QPushButton(this);
    setCaption(this, sysInfo, "text", QT_TR_NOOP("系统信息(&S)..."));
    sysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    sysInfo->setGeometry(twipsRect(this, 4140, 3075, 1485, 345));
    connect(sysInfo, &QPushButton::clicked, this, &AboutWindow::startSysInfo);
}

QString AboutWindow::disclaimerText() const
{
    return tr(" 技术咨询： ") + kSupportPointer + QString(7, QLatin1Char(' '));
}

// Major and minor of the project version, as the box has always shown it.
QString AboutWindow::versionText() const
{
    return tr("      版本 B ") + QStringLiteral(VQ_VERSION).section(QLatin1Char('.'), 0, 1);
}

void AboutWindow::showStore()
{
    const QString store = tr("信道数据库：") + storePath_;
    store_->setText(store_->fontMetrics().elidedText(store, Qt::ElideMiddle, store_->width()));
    store_->setToolTip(store);
}

void AboutWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        disclaimer_->setText(disclaimerText());
        version_->setText(versionText());
        showStore();
    }
    QDialog::changeEvent(event);
}

void AboutWindow::startSysInfo()
{
    // No title of its own: the platform shows the program's name instead.
    if (!StartSysInfo())
        messenger_.show(Notice{Notice::Icon::None, QString(), texts::kSysInfoUnavailable, {}});
}

} // namespace vq
