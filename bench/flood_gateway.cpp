// The gateway simulator in a process of its own, flooding the client it serves:
//   flood_gateway ADDRESS LINES USERS
// It listens on the gateway's port 6112 of ADDRESS ("listening"), says "ready" once a
// client has logged in and sent its first command, and at a line "flood PID" on its
// standard input sends LINES whois echoes and replies about USERS watched names ("user0",
// "user1", ...). The flood has been handled when the client's main thread, process PID's
// first, stops working on it: the time to its last busy moment before a quiet spell is
// the flood's, whatever the client did with the lines in between (a console writes them
// when they pause).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "GatewaySim.h"

namespace {

constexpr int kLookEveryMs = 2;
constexpr int kQuietMs = 500;  // longer than any pause within a flood

// Every reply moves its user to another channel, so that each one changes a row.
QByteArray replyLines(int count, int users) {
    QByteArray bytes;
    for (int i = 0; i < count / 2; ++i) {
        const QByteArray name = "user" + QByteArray::number(i % users);
        bytes += "/whois " + name + "\r\n1018 INFO \"" + name +
                 " is using Starcraft in the channel Bench" + QByteArray::number(i) + ".\"\r\n";
    }
    return bytes;
}

bool sentACommand(const gatewaysim::SimThread& sim) {
    for (const QByteArray& line : sim.receivedLines()) {
        if (line.startsWith('/')) {
            return true;
        }
    }
    return false;
}

// CPU time of the main thread of process pid, in nanoseconds.
long long mainThreadNs(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/task/" + pid + "/schedstat");
    long long ns = 0;
    stat >> ns;
    return ns;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 4) {
        std::fprintf(stderr, "usage: flood_gateway ADDRESS LINES USERS\n");
        return 2;
    }
    gatewaysim::Options options;
    options.address = QHostAddress(QString::fromLocal8Bit(argv[1]));
    const int lines = std::atoi(argv[2]);
    const QByteArray flood = replyLines(lines, std::max(1, std::atoi(argv[3])));
    gatewaysim::SimThread sim(options);
    if (!sim.start()) {
        std::fprintf(stderr, "flood_gateway: %s\n", sim.errorString().toLocal8Bit().constData());
        return 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    while (!sentACommand(sim)) {
        QThread::msleep(5);
    }
    std::printf("ready\n");
    std::fflush(stdout);

    std::string word;
    std::string pid;
    while (std::cin >> word && word != "flood") {
    }
    std::cin >> pid;
    QElapsedTimer clock;
    clock.start();
    sim.sendRawToAll(flood);
    // A look finding the thread busy for at least half the time since the last one is
    // flood work; a reply to the client's polling costs far less.
    long long cpu = mainThreadNs(pid);
    qint64 lookedAt = 0;
    qint64 lastBusy = 0;
    while (clock.elapsed() - lastBusy < kQuietMs) {
        QThread::msleep(kLookEveryMs);
        const long long now = mainThreadNs(pid);
        const qint64 at = clock.nsecsElapsed();
        if ((now - cpu) * 2 >= at - lookedAt) {
            lastBusy = at / 1000000;
        }
        cpu = now;
        lookedAt = at;
    }
    const double seconds = std::max<qint64>(lastBusy, 1) / 1000.0;
    std::printf("flood: %.0f lines/s (%d lines in %.2f s)\n", lines / seconds, lines, seconds);
    return 0;
}
