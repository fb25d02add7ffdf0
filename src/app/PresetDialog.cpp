#include "app/PresetDialog.h"

#include "channels/ValueDomains.h"
#include "plan/Programmer.h"
#include "plan/EditTexts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vq {

PresetDialog::PresetDialog(Programmer &programmer, std::vector<int> rows, std::vector<ChannelPreset> presets,
                           QWidget *parent)
    : QDialog(parent), programmer_(programmer), rows_(std::move(rows)), presets_(std::move(presets))
{
    setObjectName(QStringLiteral("预设频道窗口"));
    setWindowTitle(tr("插入预设频道"));
    auto *layout = new QVBoxLayout(this);
    sets_ = new QComboBox(this);
    sets_->setObjectName(QStringLiteral("预设"));
    for (const ChannelPreset &preset : presets_)
        sets_->addItem(tr("%1（%2个信道）").arg(preset.shownName()).arg(preset.channels.size()));
    layout->addWidget(sets_);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);
    changes_ = new QTableWidget(0, 3, this);
    changes_->setObjectName(QStringLiteral("将修改"));
    changes_->setAccessibleName(tr("将修改的项目"));
    changes_->setHorizontalHeaderLabels({tr("信道"), tr("原值"), tr("新值")});
    changes_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    changes_->verticalHeader()->hide();
    changes_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    changes_->setMinimumSize(460, 320);
    layout->addWidget(changes_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(sets_, &QComboBox::currentIndexChanged, this, &PresetDialog::showChanges);
    showChanges();
}

const ChannelPreset &PresetDialog::chosen() const
{
    return presets_[static_cast<std::size_t>(std::max(sets_->currentIndex(), 0))];
}

void PresetDialog::showChanges()
{
    const BulkEdit edit = programmer_.editor().previewPreset(rows_, chosen());
    changes_->setRowCount(0);
    if (!edit.ok()) {
        const Notice refusal = bulkRefusal(texts::kEditRefused, edit);
        summary_->setText(refusal.text + QLatin1Char('\n') + refusal.informative);
        return;
    }
    summary_->setText(edit.changes.empty() ? tr("所选信道已是这些频道，无需修改")
                                           : tr("确定后将修改以下%1项：").arg(edit.changes.size()));
    const PlanRows now = programmer_.editor().plan();
    for (const ChannelStore::Change &c : edit.changes) {
        const int line = changes_->rowCount();
        changes_->insertRow(line);
        const std::string_view field = fieldNames()[static_cast<std::size_t>(c.field)];
        const QString place = tr("第%1信道 %2").arg(c.row + 1).arg(texts::fieldName(field));
        changes_->setItem(line, 0, new QTableWidgetItem(place));
        changes_->setItem(line, 1,
                          new QTableWidgetItem(QString::fromStdString(textOf(
                              now[static_cast<std::size_t>(c.row)][static_cast<std::size_t>(c.field)]))));
        changes_->setItem(line, 2, new QTableWidgetItem(QString::fromStdString(textOf(c.value))));
    }
}

} // namespace vq
