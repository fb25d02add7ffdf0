#include "app/Messenger.h"
#include "plan/FileTexts.h"

#include <QFileDialog>
#include <QMessageBox>

#include <algorithm>

namespace vq {

QString csvFilters()
{
    QStringList filters;
    for (CsvLayout layout : kCsvLayouts)
        filters << (layout == CsvLayout::Common ? texts::kCsvCommonFilter : texts::kCsvFilter).text();
    return filters.join(QStringLiteral(";;"));
}

CsvLayout csvLayoutAt(int position)
{
    return position > 0 && position < static_cast<int>(kCsvLayouts.size())
               ? kCsvLayouts[static_cast<std::size_t>(position)]
               : kCsvLayouts.front();
}

void Messenger::tell(const Result &result)
{
    for (const Notice &notice : result.notices)
        show(notice);
}

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

QString DialogMessenger::askSavePath(const QString &filter, int *chosen, const QString &start)
{
    QString picked;
    const QString path = QFileDialog::getSaveFileName(parent_, QString(), start, filter, &picked);
    // The dialog names the filter by its text; the caller wants its place.
    if (chosen)
        *chosen = std::max(0, static_cast<int>(filter.split(QStringLiteral(";;")).indexOf(picked)));
    return path;
}

QString DialogMessenger::askOpenPath(const QString &filter)
{
    return QFileDialog::getOpenFileName(parent_, QString(), QString(), filter);
}

} // namespace vq
