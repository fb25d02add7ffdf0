#pragma once

#include "plan/BulkEdit.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace vq {

// 批量修改: one line a field with a tick box "修改"; frequencies typed, the
// rest chosen from the pickers' lists, and a step for a channel series.
class ChangeManyDialog : public QDialog {
    Q_OBJECT
public:
    ChangeManyDialog(const std::vector<int> &rows, QWidget *parent = nullptr);

    // The ticked fields with their values.
    ManyChange change() const;
    // For the window test: the tick box and the editor of a field.
    QCheckBox *tick(int field) const { return ticks_[static_cast<std::size_t>(field)]; }
    QWidget *editor(int field) const { return editors_[static_cast<std::size_t>(field)]; }
    QLineEdit *step() const { return step_; }

private:
    std::array<QCheckBox *, kFieldCount> ticks_{};
    std::array<QWidget *, kFieldCount> editors_{};
    QLineEdit *step_ = nullptr;
};

} // namespace vq
