#include "platform/TcpConnection.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace tesk {

TcpConnection::TcpConnection(int fd, std::size_t maxLineBytes) : fd_(fd), framer_(maxLineBytes) {}

TcpConnection::~TcpConnection() {
    ::close(fd_);
}

std::string TcpConnection::receiveLine() {
    for (;;) {
        if (auto line = framer_.nextLine()) {
            return *line;
        }
        if (ended_.load()) {
            return framer_.takeRemainder();
        }
        char chunk[64 * 1024];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, 0);
        if (got > 0) {
            framer_.append(chunk, static_cast<std::size_t>(got));
        } else if (got < 0 && errno == EINTR) {
            continue;
        } else {
            ended_.store(true);
            return framer_.takeRemainder();
        }
    }
}

void TcpConnection::sendLine(std::string_view text) {
    const std::size_t cut = text.find_first_of("\r\n");
    std::string wire(text.substr(0, cut));
    wire += "\r\n";
    std::lock_guard<std::mutex> lock(sendMutex_);
    std::size_t sent = 0;
    while (sent < wire.size()) {
        const ssize_t n = ::send(fd_, wire.data() + sent, wire.size() - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            return;
        }
    }
}

void TcpConnection::shutdown() {
    ::shutdown(fd_, SHUT_RDWR);
}

}  // namespace tesk
