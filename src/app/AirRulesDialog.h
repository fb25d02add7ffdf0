#pragma once

#include "plan/AirRules.h"

#include <QDialog>

class QComboBox;
class QRadioButton;
class QTableWidget;

namespace vq {

// 频率规则: where the user is and what they hold, with the rules that then
// apply listed with their sources. The choice is the rule check's.
class AirRulesDialog : public QDialog {
    Q_OBJECT
public:
    AirRulesDialog(const AirChoice &choice, QWidget *parent = nullptr);

    AirChoice choice() const;

private:
    void listRules();

    QComboBox *region_ = nullptr;
    QRadioButton *amateur_ = nullptr;
    QTableWidget *rules_ = nullptr;
};

} // namespace vq
