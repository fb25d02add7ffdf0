#include "RadioSimulatorOptions.h"

#include "RadioProtocol.h"

namespace vq::sim {

namespace {

// Not hex, partly lower case, with punctuation: should fail any frame check.
constexpr char kMalformedFrame[] = "ZZ0100002587408508zz00000025g1?!";
static_assert(sizeof(kMalformedFrame) == RadioProtocol::FrameChars + 1);
constexpr char kNoise[] = "xc?";

} // namespace

QByteArray RadioSimulatorOptions::probeAnswer() const
{
    if (neverReady)
        return {};
    return QByteArray(kNoise).repeated(noiseBeforeC).left(noiseBeforeC) + 'C';
}

QByteArray RadioSimulatorOptions::readAnswer(const QStringList &memory) const
{
    if (silentAfterB)
        return {};
    const qsizetype frames =
        stopAfterFrames >= 0 ? qMin(qsizetype(stopAfterFrames), memory.size()) : memory.size();
    QByteArray answer = leadingBlock;
    for (qsizetype i = 0; i < frames; ++i)
        answer += (i + 1 == malformedFrameAt) ? QByteArray(kMalformedFrame) : memory.at(i).toLatin1();
    return answer;
}

} // namespace vq::sim
