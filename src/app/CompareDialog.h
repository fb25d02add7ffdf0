#pragma once

#include "plan/PlanFrames.h"

#include <QDialog>

namespace vq {

// The radio against the plan, side by side: each channel and field that
// differs, the radio's value and the plan's. The two ways out are the
// caller's: take the radio's channels, or write the plan.
class CompareDialog : public QDialog {
    Q_OBJECT
public:
    CompareDialog(const std::vector<FieldDifference> &differences, QWidget *parent = nullptr);

signals:
    void takeRadio();
    void writePlan();
};

} // namespace vq
