#include "app/PortDialog.h"

#include "app/Appearance.h"
#include "app/Captions.h"
#include "app/Messenger.h"
#include "plan/Programmer.h"

#include <QButtonGroup>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace vq {

namespace {

QPalette textColoured(const QPalette &base, const QColor &colour)
{
    QPalette p = base;
    p.setColor(QPalette::WindowText, colour);
    p.setColor(QPalette::ButtonText, colour);
    return p;
}

} // namespace

PortDialog::PortDialog(Programmer &programmer, Messenger &messenger, QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      programmer_(programmer), messenger_(messenger)
{
    setObjectName(QStringLiteral("Dialog"));
    setCaption(this, this, "windowTitle", QT_TR_NOOP("选择端口"));
    setFixedSize(twips(this, 3000), twips(this, 2790));

    // A plain window rather than a QDialog: neither button is default or
    // cancel, so Enter and Esc must not close it or press OK.
    auto *ok = new QPushButton(this);
    setCaption(this, ok, "text", QT_TR_NOOP("确定"));
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setGeometry(twipsRect(this, 120, 2040, 1095, 375));
    auto *cancel = new QPushButton(this);
    setCaption(this, cancel, "text", QT_TR_NOOP("取消"));
    cancel->setObjectName(QStringLiteral("CancelButton"));
    cancel->setGeometry(twipsRect(this, 1560, 2040, 1095, 375));

    auto *label = new QLabel(this);
    setCaption(this, label, "text", QT_TR_NOOP("请选择串行口:"));
    label->setObjectName(QStringLiteral("Label1"));
    label->setFont(kaiFont(15.75));
    label->setPalette(textColoured(palette(), Qt::blue));
    label->setGeometry(twipsRect(this, 240, 240, 2295, 375));

    auto *option1 = new QRadioButton(QStringLiteral(" COM1"), this);
    option1->setObjectName(QStringLiteral("Option1"));
    option1->setGeometry(twipsRect(this, 720, 735, 1695, 405));
    auto *option2 = new QRadioButton(QStringLiteral(" COM2"), this);
    option2->setObjectName(QStringLiteral("Option2"));
    option2->setGeometry(twipsRect(this, 720, 1230, 1335, 510));
    options_ = new QButtonGroup(this);
    options_->setExclusive(true);
    for (QRadioButton *option : {option1, option2}) {
        option->setFont(kaiFont(15.75));
        option->setPalette(textColoured(palette(), Qt::red));
        options_->addButton(option, option == option1 ? 1 : 2);
    }

    QWidget::setTabOrder(ok, cancel);
    QWidget::setTabOrder(cancel, option1);
    QWidget::setTabOrder(option1, option2);
    ok->setFocus();

    // Neither option is chosen unless the link is on one of the two ports.
    if (QAbstractButton *inUse = options_->button(programmer_.ports().portInUse()))
        inUse->setChecked(true);

    connect(ok, &QPushButton::clicked, this, &PortDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QWidget::close);
}

void PortDialog::accept()
{
    const int port = options_->checkedId();
    if (port != 1 && port != 2)
        return;
    // A refusal (a transfer runs, the port cannot be opened) keeps the
    // window open for another choice.
    const Result result = programmer_.ports().switchPort(port);
    messenger_.tell(result);
    if (result.ok)
        close();
}

} // namespace vq
