#pragma once

#include "channels/ChannelHistory.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

namespace vq {

// The 50 frames a write sends, encoded once from the plan as it stands when
// the write starts, and every channel that cannot be sent with why.
struct PlanFrames {
    struct Problem {
        int channel = 0; // 1 … 50
        QString why;     // e.g. "接收频率“abc”不是频率"
    };
    std::vector<QByteArray> frames; // all 50, or none when there is a problem
    // What goes out: the first channel always numbered "1".
    PlanRows sent;
    QList<Problem> problems;

    bool ok() const { return problems.isEmpty(); }
};

// The first 50 rows of `rows` (which must hold at least 50).
PlanFrames encodePlan(const PlanRows &rows);

} // namespace vq
