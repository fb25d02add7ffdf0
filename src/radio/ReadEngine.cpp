#include "radio/ReadEngine.h"

namespace vq {

void ReadEngine::reset()
{
    block_.clear();
    leadingDone_ = false;
    frames_ = 0;
}

ReadEngine::Step ReadEngine::feed(QByteArray &input)
{
    if (frames_ >= kChannelCount)
        return Step::Complete;
    const qsizetype want = static_cast<qsizetype>(kFrameLength) - block_.size();
    const qsizetype n = std::min(want, input.size());
    block_.append(input.left(n));
    input.remove(0, n);
    if (block_.size() < static_cast<qsizetype>(kFrameLength))
        return Step::NeedMore;

    const QByteArray block = block_;
    block_.clear();
    if (!leadingDone_) {
        // The radio's leading block carries nothing the plan needs.
        leadingDone_ = true;
        return Step::NeedMore;
    }
    const DecodeResult result =
        decodeChannelFrame(std::string_view(block.constData(), static_cast<std::size_t>(block.size())));
    if (!result.ok())
        return Step::Malformed;
    rows_[static_cast<std::size_t>(frames_)] = *result.fields;
    ++frames_;
    return frames_ == kChannelCount ? Step::Complete : Step::Frame;
}

} // namespace vq
