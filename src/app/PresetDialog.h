#pragma once

#include "plan/ChannelPresets.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QTableWidget;

namespace vq {

class Programmer;

// 插入预设频道: the shipped sets, and for the one chosen every cell of the
// selected rows it would change, before anything is stored.
class PresetDialog : public QDialog {
    Q_OBJECT
public:
    PresetDialog(Programmer &programmer, std::vector<int> rows, std::vector<ChannelPreset> presets,
                 QWidget *parent = nullptr);

    const ChannelPreset &chosen() const;
    const std::vector<int> &rows() const { return rows_; }

private:
    void showChanges();

    Programmer &programmer_;
    std::vector<int> rows_;
    std::vector<ChannelPreset> presets_;
    QComboBox *sets_ = nullptr;
    QLabel *summary_ = nullptr;
    QTableWidget *changes_ = nullptr;
};

} // namespace vq
