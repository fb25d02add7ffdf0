#pragma once

#include "channels/ChannelRecord.h"
#include "radio/ChannelFrame.h"

#include <QByteArray>
#include <QString>

#include <array>

namespace vq {

// Cuts what the radio sends after "B" into the leading block and 50
// frames, and decodes each frame as it completes. It only collects: the
// rows reach the store in one batch when all 50 are in, so a read that
// fails half-way leaves the plan as it was.
class ReadEngine {
public:
    enum class Step { NeedMore, Frame, Complete, Malformed };

    void reset();

    // Takes at most the characters of the current block; the rest stays in
    // `input` for the next call (and, after the 50th frame, for the poll).
    // Frame: one frame was decoded, framesDone() went up by one.
    Step feed(QByteArray &input);

    int framesDone() const { return frames_; }
    bool leadingBlockDone() const { return leadingDone_; }
    const std::array<DecodedFields, kChannelCount> &rows() const { return rows_; }

private:
    QByteArray block_;
    bool leadingDone_ = false;
    int frames_ = 0;
    std::array<DecodedFields, kChannelCount> rows_{};
};

} // namespace vq
