#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <deque>

class QSocketNotifier;
class QTimer;

// Lives outside the class so it can be a default argument of the constructor
// (a nested struct with member initialisers cannot be, until the class is complete).
struct RadioSimulatorOptions {
    QString linkPath;   // if set: a symbolic link to the device, removed again on destruction
    QString memoryFile; // if set: loaded at start when it exists, saved after each stored write
    bool paced = true;  // send at the real line rate (960 characters a second)

    // Fault modes; all off by default.
    bool neverReady = false;   // never answer a probe
    bool silentAfterB = false; // answer nothing to a read request
    int stopAfterFrames = -1;  // read answer stops after this many frames (0: leading block only); -1 off
    int malformedFrameAt = 0;  // 1-based frame of a read answer replaced by garbage; 0 off
    int noiseBeforeC = 0;      // noise characters sent before each "C"
    int hangUpAfterFrames =
        -1; // close the line after this many frames sent (read) or received (write); -1 off

    int writeTimeoutMs = 3000; // a write that goes quiet this long is abandoned
    QByteArray leadingBlock = QByteArrayLiteral("56513434373152000000000000000000");
};

// The radio's end of a serial line, on a pseudo-terminal. Fully event driven,
// so a test can run it on the same event loop as the program that talks to it.
class RadioSimulator : public QObject {
    Q_OBJECT

public:
    using Options = RadioSimulatorOptions;

    static constexpr int FrameCount = 50;
    static constexpr int FrameChars = 32;
    static constexpr int LeadingChars = 32;
    static constexpr int ReadAnswerChars = LeadingChars + FrameCount * FrameChars; // 1632
    static constexpr int WriteChars = FrameCount * FrameChars;                     // 1600
    static constexpr int CharsPerSecond = 960; // 9600 baud, 10 bits a character

    explicit RadioSimulator(const Options &options = {}, QObject *parent = nullptr);
    ~RadioSimulator() override;

    // False if the pty, the link or the memory file could not be set up; see errorString().
    bool isValid() const;
    QString errorString() const;
    const Options &options() const;

    QString devicePath() const; // the slave, e.g. /dev/pts/7
    bool isHungUp() const;

    QStringList frames() const;
    // Exactly 50 frames of 32 Latin-1 characters, else returns false and keeps memory.
    // Does not touch the memory file.
    bool setFrames(const QStringList &frames);
    bool saveMemory(); // to options().memoryFile, atomically

    QByteArray received() const;          // everything that arrived from the program
    QList<qint64> receiveTimesNs() const; // one entry per received byte, ns since construction
    void clearReceived();
    qsizetype pendingOutput() const; // characters queued but not yet on the line

    void sendRaw(const QByteArray &bytes); // paced like everything else
    // Closes the line for good: stops sending and listening, lets the program read what
    // already went out, then closes and emits hungUp() (at once if nothing is left).
    void hangUp();

    static QString emptyFrame();
    static QStringList defaultFrames();

signals:
    void received(QByteArray chunk);    // overloads the getter: connect with qOverload<QByteArray>
    void commandReceived(char command); // '6', 'A' or 'B' seen while idle
    void writeStored();                 // all 50 frames of a write landed in memory
    void writeAbandoned(int charsReceived);
    void readServed(); // last character of a read answer sent
    void hungUp();
    void problem(QString message); // e.g. the memory file could not be saved

private:
    enum class State { Closed, Idle, Writing, Reading, HangingUp };
    struct Mark {
        enum Kind { ReadServed, HangUp };
        qint64 at; // fires once this many characters have been sent in total
        Kind kind;
    };

    bool openLine();
    void closeLine();
    bool loadMemory();
    bool createLink();
    void onReadable();
    void onWritable();
    void consume(char c);
    void startWrite();
    void finishWrite();
    void abandonWrite();
    void startRead();
    void enqueue(const QByteArray &bytes);
    void pump();
    bool fireDueMarks();
    void rebaseClock();
    void finishHangUp();
    bool isLive() const;

    Options m_options;
    QString m_error;
    QString m_devicePath;
    bool m_valid = false;
    bool m_linkCreated = false;
    bool m_hungUp = false;
    State m_state = State::Closed;

    int m_master = -1;
    int m_keptSlave = -1;
    QSocketNotifier *m_readNotifier = nullptr;
    QSocketNotifier *m_writeNotifier = nullptr;
    QTimer *m_paceTimer = nullptr;
    QTimer *m_writeTimer = nullptr;
    QTimer *m_hangUpTimer = nullptr;
    QElapsedTimer m_clock;

    QList<QByteArray> m_memory;
    QByteArray m_writeBuffer;

    QByteArray m_received;
    QList<qint64> m_receiveTimes;

    QByteArray m_out;
    std::deque<Mark> m_marks;
    qint64 m_sentTotal = 0;
    qint64 m_queuedTotal = 0;
    qint64 m_epochNs = 0;
    qint64 m_sentSinceEpoch = 0;
    qint64 m_lastWriteNs = -1'000'000'000;
    qint64 m_hangUpStartNs = 0;
};
