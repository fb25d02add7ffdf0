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

bool DialogMessenger::ask(const Notice &question)
{
    QMessageBox box(QMessageBox::Question, question.title, question.text, QMessageBox::Yes | QMessageBox::No,
                    parent_);
    if (!question.informative.isEmpty())
        box.setInformativeText(question.informative);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QString DialogMessenger::askSavePath(const QString &filter, QString *chosen, const QString &start)
{
    return QFileDialog::getSaveFileName(parent_, QString(), start, filter, chosen);
}

QString DialogMessenger::askOpenPath(const QString &filter)
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

} // namespace vq
