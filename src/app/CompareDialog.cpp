#include "app/CompareDialog.h"

#include "channels/ValueDomains.h"
#include "plan/Notice.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vq {

CompareDialog::CompareDialog(const std::vector<FieldDifference> &differences, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("比较窗口"));
    setWindowTitle(tr("与对讲机比较"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("对讲机与计划有%1处不同：").arg(differences.size()), this));
    auto *table = new QTableWidget(static_cast<int>(differences.size()), 4, this);
    table->setObjectName(QStringLiteral("不同之处"));
    table->setAccessibleName(tr("对讲机与计划的不同之处"));
    table->setHorizontalHeaderLabels({tr("信道"), tr("项目"), tr("对讲机"), tr("计划")});
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setMinimumSize(520, 320);
    for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
        const FieldDifference &d = differences[static_cast<std::size_t>(row)];
        const QStringList cells{QString::number(d.channel),
                                texts::fieldName(fieldNames()[static_cast<std::size_t>(d.field)]),
                                QString::fromStdString(d.radio), QString::fromStdString(d.plan)};
        for (int column = 0; column < cells.size(); ++column)
            table->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    layout->addWidget(table);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    QPushButton *take = buttons->addButton(tr("采用对讲机的信道(&T)"), QDialogButtonBox::ActionRole);
    QPushButton *write = buttons->addButton(tr("写入计划(&W)"), QDialogButtonBox::ActionRole);
    take->setObjectName(QStringLiteral("采用对讲机"));
    write->setObjectName(QStringLiteral("写入计划"));
    connect(take, &QPushButton::clicked, this, [this] {
        emit takeRadio();
        accept();
    });
    connect(write, &QPushButton::clicked, this, [this] {
        emit writePlan();
        accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

} // namespace vq
