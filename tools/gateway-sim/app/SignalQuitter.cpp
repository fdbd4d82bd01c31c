#include "SignalQuitter.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace {

int wakeFds[2] = {-1, -1};

}  // namespace

SignalQuitter::SignalQuitter(QObject* parent) : QObject(parent) {}

SignalQuitter::~SignalQuitter() {
    if (notifier_) {
        struct sigaction action {};
        action.sa_handler = SIG_DFL;
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
        ::close(wakeFds[0]);
        ::close(wakeFds[1]);
        wakeFds[0] = wakeFds[1] = -1;
    }
}

bool SignalQuitter::install(QString* error) {
    if (pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        *error = QString("cannot create a pipe: %1").arg(std::strerror(errno));
        return false;
    }
    notifier_ = new QSocketNotifier(wakeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [] {
        char drained[16];
        while (::read(wakeFds[0], drained, sizeof drained) > 0) {
        }
        QCoreApplication::quit();
    });
    struct sigaction action {};
    action.sa_handler = &SignalQuitter::onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    if (sigaction(SIGINT, &action, nullptr) != 0 || sigaction(SIGTERM, &action, nullptr) != 0) {
        *error = QString("cannot install signal handlers: %1").arg(std::strerror(errno));
        return false;
    }
    return true;
}

void SignalQuitter::onSignal(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeFds[1], &byte, 1);
    errno = savedErrno;
}
