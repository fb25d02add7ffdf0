#include "app/InstructionsWindow.h"

#include "app/Appearance.h"
#include "app/Captions.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>


namespace vq {

namespace {

QString blanks(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

QString InstructionsWindow::instructionsText()
{
    // The Chinese text is laid out by its blanks; a translation comes whole,
    // as one text under the heading's name.
    const QString whole = tr("操作说明", "the whole instructions text");
    if (whole != QStringLiteral("操作说明"))
        return whole;
    // The blanks lay the text out in the word-wrapping label: each run ends a
    // line or centres the heading, so their counts matter as much as the words.
    return blanks(18) + QStringLiteral("操作说明") + blanks(25) +
           QStringLiteral("一，使用随机配带的写频电缆，将对讲机（关机）耳机话筒插口与计算机串行口1（"
                          "或串行口2）联结。") +
           blanks(4) + QStringLiteral("二，打开对讲机电源，屏显显示“对讲机就续”。") + blanks(4) +
           QStringLiteral("三，写频操作：用鼠标点菜单项“写信道数椐”。") + blanks(4) +
           QStringLiteral("四，读频操作：用鼠标点菜单项“读信道数据”。") + blanks(4) +
           QStringLiteral("五，文件操作：使用操作“文件”菜单的“保存文") + blanks(7) +
           QStringLiteral("件”子菜单，打开保存文件对话框，可以将当前") + blanks(6) +
           QStringLiteral("的频率数据保存（文件名自选，后缀") + blanks(2) + QStringLiteral(".doc）。") +
           blanks(6) + QStringLiteral("同样使用“打开文件”子菜单，可以将保存的频") + blanks(6) +
           QStringLiteral("率数据文件重新调出使用。") + blanks(21) +
           QStringLiteral("六，设置端口：如有必要，可操作\"系统设置\"菜单") + blanks(7) +
           QStringLiteral("的“选择端口”子菜单项，改变当前使用的串行") + blanks(6) + QStringLiteral("口。") +
           blanks(4);
}

InstructionsWindow::InstructionsWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmAbout1"));
    setCaption(this, this, "windowTitle", QT_TR_NOOP("操作说明"));
    setWindowIcon(appIcon());
    setModal(false);
    setFixedSize(twips(this, 8790), twips(this, 6300));

    auto *text = new QLabel(instructionsText(), this);
    text_ = text;
    text->setObjectName(QStringLiteral("lblDescription"));
    text->setTextFormat(Qt::PlainText);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text->setFont(kaiFont(15.75));
    QPalette blue = text->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    text->setPalette(blue);
    // The installed Kai face may set its lines further apart than the one
    // the layout was made for, and a translation may need more: the
    // window's text fitting grows the label and moves the button down.
    text->setGeometry(twipsRect(this, 480, 720, 7845, 4530));

    auto *ok = new QPushButton(this);
    setCaption(this, ok, "text", QT_TR_NOOP("确定"));
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setGeometry(twipsRect(this, 7080, 5760, 1500, 345));
    ok->setDefault(true);
    ok->setFocus();
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void InstructionsWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && text_)
        text_->setText(instructionsText());
    QDialog::changeEvent(event);
}

} // namespace vq
