#include "app/ChangeManyDialog.h"

#include "plan/Notice.h"

#include "channels/PickerRules.h"
#include "channels/ValueDomains.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace vq {

namespace {

QString qtext(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

int pickerOver(int field)
{
    for (int picker = 1; picker <= kPickerCount; ++picker)
        if (pickerField(picker) == field)
            return picker;
    return 0;
}

} // namespace

ChangeManyDialog::ChangeManyDialog(const std::vector<int> &rows, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("批量修改窗口"));
    setWindowTitle(tr("批量修改"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("修改所选的%1个信道，只修改打勾的项目：").arg(rows.size()), this));
    auto *grid = new QGridLayout;
    layout->addLayout(grid);
    for (int f = RxFrequency; f < kFieldCount; ++f) {
        auto *tick = new QCheckBox(tr("修改"), this);
        QWidget *editor = nullptr;
        if (f == RxFrequency || f == TxFrequency) {
            editor = new QLineEdit(this);
        } else {
            auto *combo = new QComboBox(this);
            for (std::string_view entry : pickerEntries(pickerOver(f)))
                combo->addItem(qtext(entry));
            editor = combo;
        }
        editor->setEnabled(false);
        connect(tick, &QCheckBox::toggled, editor, &QWidget::setEnabled);
        const QString field = texts::fieldName(fieldNames()[static_cast<std::size_t>(f)]);
        // Seven boxes read "修改": a screen reader says which field each one is for.
        tick->setAccessibleName(tr("修改%1").arg(field));
        auto *label = new QLabel(field, this);
        label->setBuddy(editor);
        grid->addWidget(tick, f, 0);
        grid->addWidget(label, f, 1);
        grid->addWidget(editor, f, 2);
        ticks_[static_cast<std::size_t>(f)] = tick;
        editors_[static_cast<std::size_t>(f)] = editor;
    }
    step_ = new QLineEdit(this);
    step_->setPlaceholderText(tr("如 12.5，留空则各信道相同"));
    auto *stepLabel = new QLabel(tr("频率步进(kHz)"), this);
    stepLabel->setBuddy(step_);
    grid->addWidget(stepLabel, kFieldCount, 1);
    grid->addWidget(step_, kFieldCount, 2);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

ManyChange ChangeManyDialog::change() const
{
    ManyChange out;
    for (int f = RxFrequency; f < kFieldCount; ++f) {
        if (!ticks_[static_cast<std::size_t>(f)]->isChecked())
            continue;
        QWidget *editor = editors_[static_cast<std::size_t>(f)];
        const auto *line = qobject_cast<QLineEdit *>(editor);
        out.values[static_cast<std::size_t>(f)] =
            (line ? line->text() : static_cast<QComboBox *>(editor)->currentText()).toStdString();
    }
    out.stepKHz = step_->text().toStdString();
    return out;
}

} // namespace vq
