// gateway-sim: runs the chat gateway simulator until SIGINT or SIGTERM.
#include "CommandLine.h"
#include "GatewaySim.h"
#include "SignalQuitter.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Received bytes may be anything; keep the terminal readable.
QString printable(const QByteArray& bytes) {
    QString text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            text += QString("\\x%1").arg(byte, 2, 16, QChar('0'));
        } else {
            text += QChar(byte);  // Latin-1 view: one character per byte
        }
    }
    return text;
}

void printTraffic(gatewaysim::GatewaySim& sim, Verbosity verbosity) {
    if (verbosity == Verbosity::Quiet) {
        return;
    }
    const auto log = sim.log();
    const auto print = [log](const QString& text) {
        QTextStream out(stdout);
        out << QString("[%1] ").arg(log->elapsedMs() / 1000.0, 9, 'f', 3) << text << Qt::endl;
    };
    using gatewaysim::GatewaySim;
    QObject::connect(&sim, &GatewaySim::connectionOpened, [print](int id, const QString& peer) {
        print(QString("#%1 connected from %2").arg(id).arg(peer));
    });
    QObject::connect(&sim, &GatewaySim::connectionClosed,
                     [print](int id) { print(QString("#%1 closed").arg(id)); });
    QObject::connect(&sim, &GatewaySim::scenarioStep,
                     [print](const QString& step) { print("scenario: " + step); });
    if (verbosity != Verbosity::Verbose) {
        return;
    }
    QObject::connect(&sim, &GatewaySim::lineReceived, [print](int id, const QByteArray& line) {
        print(QString("#%1 C> %2").arg(id).arg(printable(line)));
    });
    QObject::connect(&sim, &GatewaySim::lineSent, [print](int id, const QByteArray& line) {
        print(QString("#%1 S< %2").arg(id).arg(printable(line)));
    });
    QObject::connect(&sim, &GatewaySim::rawSent, [print](int id, const QByteArray& bytes) {
        print(QString("#%1 S< (raw) %2").arg(id).arg(printable(bytes)));
    });
}

int fail(const QString& message) {
    QTextStream(stderr) << "gateway-sim: " << message << Qt::endl;
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("gateway-sim");

    CommandLine commandLine;
    QString text;
    switch (parseCommandLine(QCoreApplication::arguments(), &commandLine, &text)) {
        case ParseResult::ShowHelp:
            QTextStream(stdout) << text;
            return 0;
        case ParseResult::Error:
            fail(text + " (see --help)");
            return 2;
        case ParseResult::Run:
            break;
    }

    gatewaysim::GatewaySim sim(commandLine.options);
    printTraffic(sim, commandLine.verbosity);
    QString error;
    if (!commandLine.scenarioPath.isEmpty() &&
        !sim.loadScenario(commandLine.scenarioPath, &error)) {
        return fail(error);
    }
    SignalQuitter quitter;
    if (!quitter.install(&error)) {
        return fail(error);
    }
    if (!sim.listen()) {
        return fail(sim.errorString());
    }
    if (commandLine.verbosity != Verbosity::Quiet) {
        QTextStream(stdout) << "gateway-sim listening on " << commandLine.options.address.toString()
                            << " port " << sim.port() << Qt::endl;
    }
    const int status = QCoreApplication::exec();
    sim.close();
    return status;
}
