#include "app/Messenger.h"

#include <QFileDialog>
#include <QMessageBox>

namespace vq {

void DialogMessenger::show(const Notice &notice)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    if (notice.icon == Notice::Icon::Information)
        icon = QMessageBox::Information;
    else if (notice.icon == Notice::Icon::Exclamation)
        icon = QMessageBox::Warning;
    QMessageBox box(icon, notice.title, notice.text, QMessageBox::Ok, parent_);
    if (!notice.informative.isEmpty())
        box.setInformativeText(notice.informative);
    box.exec();
}

QString DialogMessenger::askSavePath(const QString &filter)
{
    return QFileDialog::getSaveFileName(parent_, QString(), QString(), filter);
}

QString DialogMessenger::askOpenPath(const QString &filter)
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

} // namespace vq
