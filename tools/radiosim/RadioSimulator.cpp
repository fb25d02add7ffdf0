#include "RadioSimulator.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr char kFirstChannel[] = "01000025874085080000002501430000";
// Not hex, partly lower case, with punctuation: should fail any frame check.
constexpr char kMalformedFrame[] = "ZZ0100002587408508zz00000025g1?!";
static_assert(sizeof(kFirstChannel) == RadioSimulator::FrameChars + 1);
static_assert(sizeof(kMalformedFrame) == RadioSimulator::FrameChars + 1);

constexpr char kNoise[] = "xc?";
constexpr int kPaceTickMs = 2;
// How long a hang-up waits for the program to read what already went out.
constexpr qint64 kHangUpDrainNs = 500'000'000;
// Characters written to the master reach the slave's input queue shortly after, not at once.
constexpr qint64 kInFlightNs = 5'000'000;

QString errnoText(const char *what, int error)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(error)));
}

bool setFdFlag(int fd, int getCmd, int setCmd, int flag)
{
    const int flags = ::fcntl(fd, getCmd);
    return flags >= 0 && ::fcntl(fd, setCmd, flags | flag) == 0;
}

bool isLatin1Frame(const QString &frame)
{
    return frame.size() == RadioSimulator::FrameChars &&
           std::all_of(frame.begin(), frame.end(), [](QChar c) { return c.unicode() < 0x100; });
}

} // namespace

RadioSimulator::RadioSimulator(const Options &options, QObject *parent) : QObject(parent), m_options(options)
{
    m_clock.start();
    for (const QString &frame : defaultFrames())
        m_memory.append(frame.toLatin1());

    m_paceTimer = new QTimer(this);
    m_paceTimer->setTimerType(Qt::PreciseTimer);
    m_paceTimer->setInterval(m_options.paced ? kPaceTickMs : 0);
    connect(m_paceTimer, &QTimer::timeout, this, &RadioSimulator::pump);

    m_writeTimer = new QTimer(this);
    m_writeTimer->setSingleShot(true);
    m_writeTimer->setInterval(m_options.writeTimeoutMs);
    connect(m_writeTimer, &QTimer::timeout, this, &RadioSimulator::abandonWrite);

    m_hangUpTimer = new QTimer(this);
    m_hangUpTimer->setSingleShot(true);
    m_hangUpTimer->setTimerType(Qt::PreciseTimer);
    m_hangUpTimer->setInterval(kPaceTickMs);
    connect(m_hangUpTimer, &QTimer::timeout, this, &RadioSimulator::finishHangUp);

    if (m_options.leadingBlock.size() != LeadingChars) {
        m_error = QStringLiteral("leading block must be %1 characters").arg(LeadingChars);
        return;
    }
    if (!m_options.memoryFile.isEmpty() && QFileInfo::exists(m_options.memoryFile) && !loadMemory())
        return;
    if (!openLine())
        return;
    if (!m_options.linkPath.isEmpty() && !createLink()) {
        closeLine();
        return;
    }
    m_valid = true;
}

RadioSimulator::~RadioSimulator()
{
    closeLine();
    if (m_linkCreated && QFileInfo(m_options.linkPath).isSymLink())
        QFile::remove(m_options.linkPath);
}

bool RadioSimulator::isValid() const
{
    return m_valid;
}
QString RadioSimulator::errorString() const
{
    return m_error;
}
const RadioSimulator::Options &RadioSimulator::options() const
{
    return m_options;
}
QString RadioSimulator::devicePath() const
{
    return m_devicePath;
}
bool RadioSimulator::isHungUp() const
{
    return m_hungUp;
}
QByteArray RadioSimulator::received() const
{
    return m_received;
}
QList<qint64> RadioSimulator::receiveTimesNs() const
{
    return m_receiveTimes;
}
qsizetype RadioSimulator::pendingOutput() const
{
    return m_out.size();
}

void RadioSimulator::clearReceived()
{
    m_received.clear();
    m_receiveTimes.clear();
}

QString RadioSimulator::emptyFrame()
{
    return QString(FrameChars, QLatin1Char('0'));
}

QStringList RadioSimulator::defaultFrames()
{
    QStringList frames(FrameCount, emptyFrame());
    frames[0] = QLatin1String(kFirstChannel);
    return frames;
}

QStringList RadioSimulator::frames() const
{
    QStringList out;
    out.reserve(FrameCount);
    for (const QByteArray &frame : m_memory)
        out.append(QString::fromLatin1(frame));
    return out;
}

bool RadioSimulator::setFrames(const QStringList &frames)
{
    if (frames.size() != FrameCount || !std::all_of(frames.begin(), frames.end(), isLatin1Frame))
        return false;
    m_memory.clear();
    for (const QString &frame : frames)
        m_memory.append(frame.toLatin1());
    return true;
}

bool RadioSimulator::openLine()
{
    int master = -1;
    int slave = -1;
    if (::openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) {
        m_error = errnoText("openpty", errno);
        return false;
    }
    m_master = master;
    m_keptSlave = slave;

    char name[256];
    if (const int rc = ::ttyname_r(slave, name, sizeof name); rc != 0) {
        m_error = errnoText("ttyname_r", rc);
        closeLine();
        return false;
    }
    m_devicePath = QFile::decodeName(name);

    // Raw on the slave, or the line discipline would echo our own output back to us
    // and mangle CR/LF; the program sets its own mode again when it opens the port.
    termios tio{};
    if (::tcgetattr(slave, &tio) != 0) {
        m_error = errnoText("tcgetattr", errno);
        closeLine();
        return false;
    }
    ::cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&tio, B9600);
    ::cfsetospeed(&tio, B9600);
    // Not cloexec, a child (e.g. the program under test started by QProcess) would
    // inherit the master and keep the line alive after a hang-up.
    if (::tcsetattr(slave, TCSANOW, &tio) != 0 || !setFdFlag(master, F_GETFL, F_SETFL, O_NONBLOCK) ||
        !setFdFlag(master, F_GETFD, F_SETFD, FD_CLOEXEC) || !setFdFlag(slave, F_GETFD, F_SETFD, FD_CLOEXEC)) {
        m_error = errnoText("configuring the pseudo-terminal", errno);
        closeLine();
        return false;
    }

    m_readNotifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
    connect(m_readNotifier, &QSocketNotifier::activated, this, &RadioSimulator::onReadable);
    m_writeNotifier = new QSocketNotifier(master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &RadioSimulator::onWritable);
    m_state = State::Idle;
    return true;
}

void RadioSimulator::closeLine()
{
    m_paceTimer->stop();
    m_writeTimer->stop();
    m_hangUpTimer->stop();
    // Notifiers go before their fd; deleteLater because we may be inside their signal.
    for (QSocketNotifier **notifier : {&m_readNotifier, &m_writeNotifier}) {
        if (*notifier) {
            (*notifier)->setEnabled(false);
            (*notifier)->deleteLater();
            *notifier = nullptr;
        }
    }
    if (m_master >= 0)
        ::close(m_master);
    if (m_keptSlave >= 0)
        ::close(m_keptSlave);
    m_master = -1;
    m_keptSlave = -1;
    m_out.clear();
    m_marks.clear();
    m_writeBuffer.clear();
    m_state = State::Closed;
}

bool RadioSimulator::createLink()
{
    const QFileInfo info(m_options.linkPath);
    if (info.isSymLink()) {
        QFile::remove(m_options.linkPath); // left over from an earlier run
    } else if (info.exists()) {
        m_error = QStringLiteral("%1 exists and is not a symbolic link").arg(m_options.linkPath);
        return false;
    }
    if (!QFile::link(m_devicePath, m_options.linkPath)) {
        m_error = QStringLiteral("cannot create link %1").arg(m_options.linkPath);
        return false;
    }
    m_linkCreated = true;
    return true;
}

bool RadioSimulator::loadMemory()
{
    QFile file(m_options.memoryFile);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(m_options.memoryFile, file.errorString());
        return false;
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    if (lines.size() != FrameCount) {
        m_error = QStringLiteral("%1: expected %2 lines, found %3")
                      .arg(m_options.memoryFile)
                      .arg(FrameCount)
                      .arg(lines.size());
        return false;
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith('\r'))
            lines[i].chop(1);
        if (lines[i].size() != FrameChars) {
            m_error = QStringLiteral("%1:%2: expected %3 characters")
                          .arg(m_options.memoryFile)
                          .arg(i + 1)
                          .arg(FrameChars);
            return false;
        }
    }
    m_memory = lines;
    return true;
}

bool RadioSimulator::saveMemory()
{
    if (m_options.memoryFile.isEmpty())
        return false;
    QSaveFile file(m_options.memoryFile);
    if (!file.open(QIODevice::WriteOnly)) {
        emit problem(QStringLiteral("%1: %2").arg(m_options.memoryFile, file.errorString()));
        return false;
    }
    for (QByteArray line : m_memory) {
        // Whatever the program sent is stored, but the file must stay one frame a line.
        std::replace_if(
            line.begin(), line.end(), [](char c) { return c < 0x20 || c > 0x7e; }, '?');
        file.write(line + '\n');
    }
    if (!file.commit()) {
        emit problem(QStringLiteral("%1: %2").arg(m_options.memoryFile, file.errorString()));
        return false;
    }
    return true;
}

void RadioSimulator::onReadable()
{
    char buffer[512];
    while (isLive()) {
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n > 0) {
            const QByteArray chunk(buffer, n);
            const qint64 now = m_clock.nsecsElapsed();
            m_received += chunk;
            m_receiveTimes.reserve(m_receiveTimes.size() + n);
            for (ssize_t i = 0; i < n; ++i)
                m_receiveTimes.append(now);
            emit received(chunk);
            for (char c : chunk)
                consume(c);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        // EIO/EOF means no slave is open; cannot happen while we keep one, but never spin on it.
        m_readNotifier->setEnabled(false);
        QTimer::singleShot(100, this, [this] {
            if (m_readNotifier)
                m_readNotifier->setEnabled(true);
        });
        return;
    }
}

void RadioSimulator::consume(char c)
{
    switch (m_state) {
    case State::Idle:
        if (c != '6' && c != 'A' && c != 'B')
            return;
        emit commandReceived(c);
        if (m_state != State::Idle)
            return; // a slot hung up
        if (c == '6') {
            if (m_options.neverReady)
                return;
            QByteArray answer;
            for (int i = 0; i < m_options.noiseBeforeC; ++i)
                answer += kNoise[i % (sizeof kNoise - 1)];
            enqueue(answer + 'C');
        } else if (c == 'A') {
            startWrite();
        } else {
            startRead();
        }
        return;
    case State::Writing: {
        // Every character belongs to the frames here, including '6', 'A' and 'B'.
        m_writeBuffer += c;
        m_writeTimer->start();
        if (m_writeBuffer.size() % FrameChars != 0)
            return;
        const int frames = int(m_writeBuffer.size() / FrameChars);
        if (frames == FrameCount)
            finishWrite();
        if (frames == m_options.hangUpAfterFrames)
            hangUp();
        return;
    }
    case State::Reading: // busy sending; the radio does not listen meanwhile
    case State::HangingUp:
    case State::Closed:
        return;
    }
}

void RadioSimulator::startWrite()
{
    m_state = State::Writing;
    m_writeBuffer.clear();
    m_writeBuffer.reserve(WriteChars);
    m_writeTimer->start();
    if (m_options.hangUpAfterFrames == 0)
        hangUp();
}

void RadioSimulator::finishWrite()
{
    m_writeTimer->stop();
    m_memory.clear();
    for (int i = 0; i < FrameCount; ++i)
        m_memory.append(m_writeBuffer.mid(i * FrameChars, FrameChars));
    m_writeBuffer.clear();
    m_state = State::Idle;
    if (!m_options.memoryFile.isEmpty())
        saveMemory();
    emit writeStored();
}

void RadioSimulator::abandonWrite()
{
    if (m_state != State::Writing)
        return;
    const int got = int(m_writeBuffer.size());
    m_writeBuffer.clear();
    m_state = State::Idle;
    emit writeAbandoned(got);
}

void RadioSimulator::startRead()
{
    if (m_options.silentAfterB)
        return;
    const int frames =
        m_options.stopAfterFrames >= 0 ? std::min(m_options.stopAfterFrames, FrameCount) : FrameCount;
    QByteArray answer = m_options.leadingBlock;
    for (int i = 0; i < frames; ++i)
        answer += (i + 1 == m_options.malformedFrameAt) ? QByteArray(kMalformedFrame) : m_memory.at(i);

    m_state = State::Reading;
    const qint64 start = m_queuedTotal; // absolute position where the answer begins
    const Mark served{start + answer.size(), Mark::ReadServed};
    const int hangUpAfter = m_options.hangUpAfterFrames;
    if (hangUpAfter >= 0 && hangUpAfter <= frames) {
        const Mark hangUp{start + LeadingChars + qint64(hangUpAfter) * FrameChars, Mark::HangUp};
        // On a tie the answer is complete, so report it served before hanging up.
        if (hangUp.at < served.at) {
            m_marks.push_back(hangUp);
            m_marks.push_back(served);
        } else {
            m_marks.push_back(served);
            m_marks.push_back(hangUp);
        }
    } else {
        m_marks.push_back(served);
    }
    enqueue(answer);
}

void RadioSimulator::sendRaw(const QByteArray &bytes)
{
    enqueue(bytes);
}

bool RadioSimulator::isLive() const
{
    return m_state != State::Closed && m_state != State::HangingUp;
}

void RadioSimulator::hangUp()
{
    if (!isLive())
        return;
    // Closing the master discards whatever the program has not read yet, but on a real
    // line the characters already sent have arrived; so close only once they are read.
    m_paceTimer->stop();
    m_writeTimer->stop();
    m_readNotifier->setEnabled(false);
    m_writeNotifier->setEnabled(false);
    m_out.clear();
    m_marks.clear();
    m_writeBuffer.clear();
    m_state = State::HangingUp;
    m_hangUpStartNs = m_clock.nsecsElapsed();
    finishHangUp();
}

void RadioSimulator::finishHangUp()
{
    const qint64 now = m_clock.nsecsElapsed();
    int unread = 0;
    const bool known = ::ioctl(m_keptSlave, TIOCINQ, &unread) == 0;
    const bool settled = now - m_lastWriteNs >= kInFlightNs;
    if (known && (unread > 0 || !settled) && now - m_hangUpStartNs < kHangUpDrainNs) {
        m_hangUpTimer->start();
        return;
    }
    closeLine();
    m_hungUp = true;
    emit hungUp();
}

void RadioSimulator::rebaseClock()
{
    m_epochNs = m_clock.nsecsElapsed();
    m_sentSinceEpoch = 0;
}

void RadioSimulator::enqueue(const QByteArray &bytes)
{
    if (!isLive() || bytes.isEmpty())
        return;
    if (m_out.isEmpty())
        rebaseClock(); // the line was idle: the first character is due one character time from now
    m_out += bytes;
    m_queuedTotal += bytes.size();
    if (!m_writeNotifier->isEnabled() && !m_paceTimer->isActive())
        m_paceTimer->start();
}

void RadioSimulator::onWritable()
{
    // The reader stalled us; go on at line rate from here instead of bursting the backlog.
    m_writeNotifier->setEnabled(false);
    rebaseClock();
    m_paceTimer->start();
}

bool RadioSimulator::fireDueMarks()
{
    while (isLive() && !m_marks.empty() && m_marks.front().at <= m_sentTotal) {
        const Mark::Kind kind = m_marks.front().kind;
        m_marks.pop_front();
        if (kind == Mark::HangUp) {
            hangUp();
        } else {
            m_state = State::Idle;
            emit readServed();
        }
    }
    return isLive();
}

void RadioSimulator::pump()
{
    for (;;) {
        if (!fireDueMarks())
            return;
        if (m_out.isEmpty()) {
            m_paceTimer->stop();
            return;
        }
        qint64 allowed = m_out.size();
        if (m_options.paced) {
            // From elapsed time rather than counting ticks, so late timers do not slow the average.
            const qint64 due = (m_clock.nsecsElapsed() - m_epochNs) * CharsPerSecond / 1'000'000'000;
            allowed = std::min(allowed, due - m_sentSinceEpoch);
        }
        if (!m_marks.empty())
            allowed = std::min(allowed, m_marks.front().at - m_sentTotal);
        if (allowed <= 0)
            return; // the timer brings us back
        const ssize_t n = ::write(m_master, m_out.constData(), size_t(allowed));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                m_paceTimer->stop();
                m_writeNotifier->setEnabled(true);
                return;
            }
            emit problem(errnoText("write", errno));
            hangUp();
            return;
        }
        m_out.remove(0, n);
        m_lastWriteNs = m_clock.nsecsElapsed();
        m_sentTotal += n;
        m_sentSinceEpoch += n;
    }
}
