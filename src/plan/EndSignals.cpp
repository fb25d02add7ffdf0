#include "plan/EndSignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vq {

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int signo)
{
    const auto byte = static_cast<unsigned char>(signo);
    [[maybe_unused]] const auto written = ::write(signalPipe[1], &byte, 1);
}

void setAction(const std::vector<int> &signos, void (*handler)(int))
{
    struct sigaction action {};
    action.sa_handler = handler;
    for (int signo : signos)
        ::sigaction(signo, &action, nullptr);
}

} // namespace

EndSignals::EndSignals(QObject *parent) : QObject(parent) {}

EndSignals::~EndSignals()
{
    release();
}

bool EndSignals::catchSignals(std::initializer_list<int> signos)
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    if (!notifier_) {
        notifier_ = std::make_unique<QSocketNotifier>(signalPipe[0], QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
            unsigned char byte = 0;
            std::vector<int> came;
            while (::read(signalPipe[0], &byte, 1) > 0)
                came.push_back(byte);
            for (int signo : came)
                emit received(signo);
        });
    }
    release();
    caught_ = signos;
    setAction(caught_, onSignal);
    return true;
}

void EndSignals::release()
{
    setAction(caught_, SIG_DFL);
    caught_ = {};
}

} // namespace vq
