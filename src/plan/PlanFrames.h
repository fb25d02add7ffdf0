#pragma once

#include "channels/ChannelHistory.h"
#include "channels/ChannelJudge.h"
#include "radio/ChannelFrame.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <array>
#include <optional>
#include <vector>

namespace vq {

// The 50 frames a write sends, encoded once from the plan as it stands when
// the write starts, and every channel that cannot be sent with why.
struct PlanFrames {
    struct Problem {
        int channel = 0; // 1 … 50
        QString why;     // e.g. "接收频率“abc”不是频率", in the language in use
        ValueRefusal refusal;
    };
    std::vector<QByteArray> frames; // all 50, or none when there is a problem
    // What goes out: the first channel always numbered "1".
    PlanRows sent;
    QList<Problem> problems;

    bool ok() const { return problems.isEmpty(); }
};

// The first 50 rows of `rows` (which must hold at least 50), each as the
// judge lets it go: a row it refuses is a problem and no frame goes out.
PlanFrames encodePlan(const PlanRows &rows);

// A write's read-back is compared as decoded rows, not as text: the radio
// may give a frame back in another form of the same plan (lower-case
// hexadecimal, another number in a channel's number byte, anything behind
// an empty channel's marker) and only a difference the plan would show is a
// fault.
using ReadBackRows = std::array<DecodedFields, kChannelCount>;
// The rows a read-back of `frames` should give; none unless there are 50
// frames that a read could decode.
std::optional<ReadBackRows> expectedReadBack(const std::vector<QByteArray> &frames);
// The channels, 1 … 50, whose read-back differs from what was sent.
QList<int> differingChannels(const ReadBackRows &sent, const ReadBackRows &readBack);

// One field a radio holds otherwise than the plan would put there, each as
// the radio would hold it.
struct FieldDifference {
    int channel = 0; // 1 … 50
    Field field = RxFrequency;
    std::string radio;
    std::string plan;

    bool operator==(const FieldDifference &) const = default;
};
// Every such field, by channel and then field.
std::vector<FieldDifference> differingFields(const ReadBackRows &plan, const ReadBackRows &radio);

} // namespace vq
