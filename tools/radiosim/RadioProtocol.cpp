#include "RadioProtocol.h"

#include "PacedSender.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

namespace vq::sim {

namespace {

constexpr char kFirstChannel[] = "01000025874085080000002501430000";
static_assert(sizeof(kFirstChannel) == RadioProtocol::FrameChars + 1);

bool isLatin1Frame(const QString &frame)
{
    return frame.size() == RadioProtocol::FrameChars && QString::fromLatin1(frame.toLatin1()) == frame;
}

} // namespace

RadioProtocol::RadioProtocol(const RadioSimulatorOptions &options, PacedSender &sender, QObject *parent)
    : QObject(parent), options_(options), sender_(sender), memory_(defaultFrames())
{
    writeTimer_.setSingleShot(true);
    writeTimer_.setInterval(options_.writeTimeoutMs);
    connect(&writeTimer_, &QTimer::timeout, this, [this] {
        if (state_ != State::Writing)
            return;
        state_ = State::Idle;
        emit writeAbandoned(int(writeBuffer_.size()));
    });
}

QString RadioProtocol::emptyFrame()
{
    return QString(FrameChars, QLatin1Char('0'));
}

QStringList RadioProtocol::defaultFrames()
{
    QStringList frames(FrameCount, emptyFrame());
    frames[0] = QLatin1String(kFirstChannel);
    return frames;
}

bool RadioProtocol::setFrames(const QStringList &frames)
{
    if (frames.size() != FrameCount || !std::all_of(frames.begin(), frames.end(), isLatin1Frame))
        return false;
    memory_ = frames;
    return true;
}

void RadioProtocol::setFaults(const RadioSimulatorOptions &faults)
{
    RadioSimulatorOptions next = faults;
    next.linkPath = options_.linkPath;
    next.memoryFile = options_.memoryFile;
    next.paced = options_.paced;
    next.leadingBlock = options_.leadingBlock;
    options_ = next;
    written_ = false;
}

QString RadioProtocol::prepare()
{
    const QString &path = options_.memoryFile;
    if (options_.leadingBlock.size() != LeadingChars)
        return QStringLiteral("leading block must be %1 characters").arg(LeadingChars);
    if (path.isEmpty() || !QFile::exists(path))
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("%1: %2").arg(path, file.errorString());
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != FrameCount)
        return QStringLiteral("%1: expected %2 lines, found %3").arg(path).arg(FrameCount).arg(lines.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(QLatin1Char('\r')))
            lines[i].chop(1);
        if (lines[i].size() != FrameChars)
            return QStringLiteral("%1:%2: expected %3 characters").arg(path).arg(i + 1).arg(FrameChars);
    }
    memory_ = lines;
    return {};
}

bool RadioProtocol::saveMemory()
{
    if (options_.memoryFile.isEmpty())
        return false;
    QSaveFile file(options_.memoryFile);
    if (file.open(QIODevice::WriteOnly)) {
        for (const QString &frame : memory_) {
            QByteArray line = frame.toLatin1();
            // Whatever the program sent is stored, but the file must stay one frame a line.
            std::replace_if(
                line.begin(), line.end(), [](char c) { return c < 0x20 || c > 0x7e; }, '?');
            file.write(line + '\n');
        }
        if (file.commit())
            return true;
    }
    emit problem(QStringLiteral("%1: %2").arg(options_.memoryFile, file.errorString()));
    return false;
}

void RadioProtocol::consume(char c)
{
    switch (state_) {
    case State::Idle:
        if (c != '6' && c != 'A' && c != 'B')
            return;
        emit commandReceived(c);
        if (state_ != State::Idle)
            return; // a slot hung up
        // A radio that went quiet after a write answers nothing at all:
        // neither a probe nor a read.
        if (written_ && options_.silentAfterWrite && c != 'A')
            return;
        if (c == '6')
            sender_.send(options_.probeAnswer());
        else if (c == 'A') {
            state_ = State::Writing;
            writeBuffer_.clear();
            writeTimer_.start();
            if (options_.hangUpAfterFrames == 0)
                emit hangUpWanted();
        } else {
            startRead();
        }
        return;
    case State::Writing: {
        // Every character belongs to the frames here, including '6', 'A' and 'B'.
        writeBuffer_ += c;
        writeTimer_.start();
        if (writeBuffer_.size() % FrameChars != 0)
            return;
        const int frames = int(writeBuffer_.size() / FrameChars);
        if (frames == FrameCount) {
            writeTimer_.stop();
            for (int i = 0; i < FrameCount; ++i)
                memory_[i] = QString::fromLatin1(writeBuffer_.mid(i * FrameChars, FrameChars));
            state_ = State::Idle;
            written_ = true;
            if (!options_.memoryFile.isEmpty())
                saveMemory();
            emit writeStored();
        }
        if (frames == options_.hangUpAfterFrames)
            emit hangUpWanted();
        return;
    }
    case State::Reading: // busy sending; the radio does not listen meanwhile
    case State::Stopped:
        return;
    }
}

void RadioProtocol::stop()
{
    writeTimer_.stop();
    state_ = State::Stopped;
}

void RadioProtocol::startRead()
{
    const QByteArray answer = options_.readAnswer(memory_);
    if (answer.isEmpty())
        return; // told to stay silent
    state_ = State::Reading;
    sender_.markAfter(answer.size(), [this] {
        state_ = State::Idle;
        emit readServed();
    });
    // Added after the end mark: on a tie the answer is complete, so it is reported served first.
    const qint64 cut = LeadingChars + qint64(options_.hangUpAfterFrames) * FrameChars;
    if (options_.hangUpAfterFrames >= 0 && cut <= answer.size())
        sender_.markAfter(cut, [this] { emit hangUpWanted(); });
    sender_.send(answer);
}

} // namespace vq::sim
