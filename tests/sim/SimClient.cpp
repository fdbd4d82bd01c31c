#include "SimClient.h"

#include "GatewayReplies.h"

#include <QElapsedTimer>

void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte >= 0x7f) {
            static const char* hex = "0123456789abcdef";
            *out << "\\x" << hex[byte >> 4] << hex[byte & 15];
        } else {
            *out << c;
        }
    }
    *out << '"';
}

namespace gatewaysim::test {

std::unique_ptr<SimThread> startSim(Options options) {
    options.port = 0;
    auto sim = std::make_unique<SimThread>(options);
    if (!sim->start()) {
        return nullptr;
    }
    return sim;
}

bool SimClient::connectTo(quint16 port) {
    socket_.connectToHost(QHostAddress::LocalHost, port);
    return socket_.waitForConnected(2000);
}

void SimClient::send(const QByteArray& line) {
    sendRaw(line + "\r\n");
}

void SimClient::sendRaw(const QByteArray& bytes) {
    socket_.write(bytes);
    while (socket_.bytesToWrite() > 0 && socket_.waitForBytesWritten(2000)) {
    }
}

bool SimClient::waitForBytes(int timeoutMs) {
    if (socket_.bytesAvailable() == 0 && !socket_.waitForReadyRead(timeoutMs)) {
        return false;
    }
    buffer_ += socket_.readAll();
    return true;
}

std::optional<QByteArray> SimClient::readLine(int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qsizetype end = buffer_.indexOf("\r\n");
        if (end >= 0) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 2);
            return line;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !waitForBytes(static_cast<int>(left))) {
            return std::nullopt;
        }
    }
}

QList<QByteArray> SimClient::readLines(int count, int timeoutMs) {
    QList<QByteArray> lines;
    while (lines.size() < count) {
        const std::optional<QByteArray> line = readLine(timeoutMs);
        if (!line) {
            break;
        }
        lines.append(*line);
    }
    return lines;
}

QByteArray SimClient::readRaw(int size, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (buffer_.size() < size) {
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0 || !waitForBytes(static_cast<int>(left))) {
            break;
        }
    }
    const QByteArray bytes = buffer_.left(size);
    buffer_.remove(0, bytes.size());
    return bytes;
}

bool SimClient::silentFor(int ms) {
    return buffer_.isEmpty() && !waitForBytes(ms);
}

bool SimClient::closedByPeer(int timeoutMs) {
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        socket_.waitForDisconnected(timeoutMs);
    }
    buffer_ += socket_.readAll();
    return socket_.state() == QAbstractSocket::UnconnectedState;
}

QByteArray SimClient::loginAnonymous() {
    sendRaw("c\r\nanonymous\r\n");
    return finishLogin();
}

QByteArray SimClient::login(const QByteArray& name, const QByteArray& password) {
    sendRaw("c\r\n" + name + "\r\n" + password + "\r\n");
    return finishLogin();
}

QByteArray SimClient::loginPvpgn(const QByteArray& name, const QByteArray& password) {
    sendRaw("\x03\x04" + name + "\r\n" + password + "\r\n");
    const QByteArray prefix = "2010 NAME ";
    for (int i = 0; i < 10; ++i) {
        const std::optional<QByteArray> line = readLine();
        if (!line || *line == "Login failed.") {
            return {};
        }
        if (line->startsWith(prefix)) {
            const QByteArray accepted = line->mid(prefix.size());
            const int rest =
                1 + static_cast<int>(replies::welcome(Dialect::Pvpgn, accepted).size());
            return readLines(rest).size() == rest ? accepted : QByteArray();
        }
    }
    return {};
}

QByteArray SimClient::finishLogin() {
    const std::optional<QByteArray> line = readLine();
    const QByteArray prefix = "2010 NAME ";
    if (!line || !line->startsWith(prefix) || !readLine()) {
        return {};
    }
    return line->mid(prefix.size());
}

}  // namespace gatewaysim::test
