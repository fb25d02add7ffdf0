#pragma once

#include <QObject>

#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace vq {

// Signals that ask the program to end (Ctrl+C, a kill, the terminal
// hanging up), delivered through the event loop: the handler itself may do
// nothing but write a byte to a pipe. One catcher at a time.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

    // From now on these signals come as received(); false when the pipe
    // could not be made, and they keep their default action.
    bool catchSignals(std::initializer_list<int> signos);
    // The caught signals end the program at once again.
    void release();

signals:
    void received(int signo);

private:
    std::unique_ptr<QSocketNotifier> notifier_;
    std::vector<int> caught_;
};

} // namespace vq
