#include "app/AirRulesDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vq {

namespace {

QString mhz(std::int64_t units)
{
    return QString::number(static_cast<double>(units) / 100000.0, 'f', 5);
}

} // namespace

AirRulesDialog::AirRulesDialog(const AirChoice &choice, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("频率规则窗口"));
    setWindowTitle(tr("频率规则"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    region_ = new QComboBox(this);
    region_->addItem(tr("不检查"), QString());
    for (const char *code : {"cn", "eu", "us"})
        region_->addItem(regionName(QString::fromLatin1(code)), QString::fromLatin1(code));
    region_->setCurrentIndex(std::max(region_->findData(choice.region), 0));
    form->addRow(tr("所在地区(&R)："), region_);
    auto *none = new QRadioButton(tr("无执照(&N)"), this);
    amateur_ = new QRadioButton(tr("业余无线电执照(&A)"), this);
    (choice.amateur ? amateur_ : none)->setChecked(true);
    auto *licence = new QVBoxLayout;
    licence->addWidget(none);
    licence->addWidget(amateur_);
    form->addRow(tr("持有："), licence);

    rules_ = new QTableWidget(0, 5, this);
    rules_->setObjectName(QStringLiteral("规则列表"));
    rules_->setAccessibleName(tr("适用的频率规则"));
    rules_->setHorizontalHeaderLabels({tr("频段"), tr("频率 (MHz)"), tr("发射"), tr("依据"), tr("核对日期")});
    rules_->horizontalHeader()->setStretchLastSection(true);
    rules_->verticalHeader()->hide();
    rules_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rules_->setMinimumSize(720, 300);
    layout->addWidget(rules_);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    connect(region_, &QComboBox::currentIndexChanged, this, &AirRulesDialog::listRules);
    listRules();
}

AirChoice AirRulesDialog::choice() const
{
    return {region_->currentData().toString(), amateur_->isChecked()};
}

void AirRulesDialog::listRules()
{
    const QString region = region_->currentData().toString();
    const AirRules shown = region.isEmpty() ? AirRules{} : regionRules(shippedAirRules(), region);
    rules_->setRowCount(static_cast<int>(shown.size()));
    for (int row = 0; row < static_cast<int>(shown.size()); ++row) {
        const AirBand &band = shown[static_cast<std::size_t>(row)];
        QString range = mhz(band.low) + QStringLiteral("–") + mhz(band.high);
        if (band.step > 0)
            range += tr("，每 %1 kHz 一个信道").arg(static_cast<double>(band.step) / 100.0);
        QString transmit = band.transmit == AirBand::Transmit::Nobody    ? tr("只能接收")
                           : band.transmit == AirBand::Transmit::Amateur ? tr("业余执照")
                                                                         : tr("无需执照");
        if (band.simplex && band.transmit != AirBand::Transmit::Nobody)
            transmit += tr("，收发同频");
        const QStringList cells{band.shownName(), range, transmit, band.source, band.checked};
        for (int column = 0; column < cells.size(); ++column)
            rules_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    rules_->resizeColumnsToContents();
}

} // namespace vq
