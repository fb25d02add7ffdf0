#include "RadioSimulatorOptions.h"

#include "RadioProtocol.h"

namespace vq::sim {

namespace {

// Not hex, partly lower case, with punctuation: should fail any frame check.
constexpr char kMalformedFrame[] = "ZZ0100002587408508zz00000025g1?!";
static_assert(sizeof(kMalformedFrame) == RadioProtocol::FrameChars + 1);
constexpr char kNoise[] = "xc?";
// The receive frequency's last BCD digit (10 Hz), 0-based.
constexpr int kLastReceiveDigit = 5;

// Still a well-formed frame, but a channel in use now reads 10 Hz off: what
// memory that kept a write wrongly gives back. An empty channel stays empty.
QByteArray corrupted(QByteArray frame)
{
    if (frame.size() > kLastReceiveDigit) {
        char &digit = frame[kLastReceiveDigit];
        if (digit >= '0' && digit <= '9')
            digit = char('0' + (digit - '0' + 1) % 10);
    }
    return frame;
}

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
    for (qsizetype i = 0; i < frames; ++i) {
        const QByteArray frame = memory.at(i).toLatin1();
        answer += (i + 1 == malformedFrameAt) ? QByteArray(kMalformedFrame)
                  : (i + 1 == corruptFrameAt) ? corrupted(frame)
                                              : frame;
    }
    return answer;
}

} // namespace vq::sim
