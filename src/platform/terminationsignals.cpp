#include "terminationsignals.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QSocketNotifier>
#include <csignal>
#include <stdexcept>

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The write end for the signal handler; only async-signal-safe calls touch it.
volatile sig_atomic_t writeFd = -1;

void OnSignal(int signalNumber) {
    const unsigned char byte = static_cast<unsigned char>(signalNumber);
    if (writeFd >= 0) {
        [[maybe_unused]] const ssize_t written = write(writeFd, &byte, 1);
    }
}

void SetHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signalNumber, &action, nullptr);
}

}  // namespace

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds_) != 0) {
        throw std::runtime_error("cannot create the signal channel");
    }
    writeFd = fds_[0];
    notifier_ = new QSocketNotifier(fds_[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TTerminationSignals::ReadSignal);
    for (const int signalNumber : kSignals) {
        SetHandler(signalNumber, &OnSignal);
    }
}

TTerminationSignals::~TTerminationSignals() {
    for (const int signalNumber : kSignals) {
        SetHandler(signalNumber, SIG_DFL);
    }
    writeFd = -1;
    delete notifier_;
    close(fds_[0]);
    close(fds_[1]);
}

void TTerminationSignals::ReadSignal() {
    unsigned char byte = 0;
    while (read(fds_[1], &byte, 1) == 1) {
        emit Received(byte);
    }
}
