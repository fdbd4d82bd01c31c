// The whole client against the gateway simulator, offscreen, with the console open:
//   bench_client throughput   200,000 reply lines as fast as the simulator sends them to a
//                             client watching 1,000 users, until the console shows the
//                             last; lines/s and lines lost
//   bench_client memory       resident memory after login with 1,000 users, and its growth
//                             after 1,000,000 lines through the console
//   bench_client idle         CPU seconds used in 60 s connected with 100 watched users,
//                             with the console closed and then open
#include <sys/resource.h>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTimer>
#include <cstdio>
#include <fstream>

#include "GatewaySim.h"
#include "platform/MemoryPolicy.h"
#include "platform/SoundPlayer.h"
#include "session/Session.h"
#include "ui/ConsoleForm.h"
#include "ui/Conversations.h"
#include "ui/MainForm.h"
#include "ui/TrayNotifier.h"

using namespace tesk;

namespace {

struct NoSounds : SoundPlayer {
    void play(const QString&) override {}
};

long residentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Whether one of the last lines of the console's log holds the text: a flood is written
// into the log only once it pauses.
bool logShows(ConsoleForm& console, const QString& text) {
    QTextBlock block = console.findChild<QPlainTextEdit*>("LogMemo")->document()->lastBlock();
    for (int i = 0; i < 100 && block.isValid(); ++i, block = block.previous()) {
        if (block.text().contains(text)) {
            return true;
        }
    }
    return false;
}

void pump(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

// Whois echoes and replies for `users` names, all different from their neighbours.
QByteArray replyLines(int count, int users, int salt) {
    QByteArray bytes;
    for (int i = 0; i < count / 2; ++i) {
        const QByteArray name = "user" + QByteArray::number(i % users);
        bytes += "/whois " + name + "\r\n1018 INFO \"" + name +
                 " is using Starcraft in the channel Bench" + QByteArray::number(salt + i) +
                 ".\"\r\n";
    }
    return bytes;
}

// CPU seconds the client uses in 60 s of a real event loop (which does not spin, unlike
// pump()); the simulator's own thread is left out.
double idleCpuSeconds(const gatewaysim::SimThread& sim) {
    const double before = cpuSeconds();
    const double simBefore = sim.cpuSeconds();
    QEventLoop loop;
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return cpuSeconds() - before - (sim.cpuSeconds() - simBefore);
}

}  // namespace

int main(int argc, char** argv) {
    returnLargeBlocksToTheSystem();  // as the program does at start
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? argv[1] : "throughput";
    const int users = mode == "idle" ? 100 : 1000;

    gatewaysim::Options options;
    options.port = 0;
    gatewaysim::SimThread sim(options);
    if (!sim.start()) {
        std::fprintf(stderr, "simulator: %s\n", sim.errorString().toLocal8Bit().constData());
        return 1;
    }
    QTemporaryDir dir;
    ConnectionTimings timings;
    timings.port = sim.port();
    Session session(timings);
    SettingsValues values;
    values.gateway = "127.0.0.1";
    session.settings().publish(values);
    std::vector<std::string> names;
    for (int i = 0; i < users; ++i) {
        names.push_back("user" + std::to_string(i));
    }
    session.watchList().assign(names);
    NoSounds sounds;
    TrayNotifier tray(sounds, [] { return false; });
    MainForm form(session, tray, dir.filePath("Tesk.ini"));
    ConsoleForm console(session.queue());
    // Lines of the benchmark's own bursts that reached the console; the client's polling
    // goes on meanwhile and is not counted.
    long logged = 0;
    form.setLogSink([&](const LogEntry& entry) {
        console.addToLog(entry);
        if (entry.text.find("channel Bench") != std::string::npos) {
            logged += 2;  // the reply and its echo
        }
    });
    form.show();
    console.show();
    Conversations conversations(ChatContext{}, session, tray, sounds, [] { return true; });
    session.attachViews(form, conversations);
    session.start();
    pump([&] { return session.status() == ConnectionStatus::Online; }, 5000);
    pump([] { return false; }, 300);

    if (mode == "throughput") {
        constexpr int kLines = 200000;
        const QByteArray burst = replyLines(kLines, users, 0);
        const long before = logged;
        QElapsedTimer clock;
        clock.start();
        sim.sendRawToAll(burst);
        const QString last = "Bench" + QString::number(kLines / 2 - 1) + ".";
        pump([&] { return logged - before >= kLines && logShows(console, last); }, 120000);
        const double seconds = clock.elapsed() / 1000.0;
        std::printf("end to end: %.0f lines/s (%ld of %d lines in %.2f s, %ld lost)\n",
                    (logged - before) / seconds, logged - before, kLines, seconds,
                    kLines - (logged - before));
    } else if (mode == "memory") {
        const long afterLogin = residentKb();
        // In small rounds, so that the simulator's send buffers, which live in this
        // process too, stay small next to what the client holds.
        constexpr int kChunk = 10000;
        for (int i = 0; i < 100; ++i) {
            const long before = logged;
            sim.sendRawToAll(replyLines(kChunk, users, i * kChunk));
            pump([&] { return logged - before >= kChunk; }, 120000);
        }
        std::printf(
            "memory: %.1f MB after login with %d users, %.1f MB growth after 1,000,000 "
            "lines\n",
            afterLogin / 1024.0, users, (residentKb() - afterLogin) / 1024.0);
    } else if (mode == "idle") {
        // As after start-up: the main window shown, the console closed. Then once more
        // with the console open, which shows every line and the queue as they change.
        console.hide();
        const double usual = idleCpuSeconds(sim);
        console.show();
        const double withConsole = idleCpuSeconds(sim);
        std::printf(
            "idle: %.3f CPU seconds in 60 s connected with %d users (%.3f s with the "
            "console open)\n",
            usual, users, withConsole);
    }
    return 0;
}
