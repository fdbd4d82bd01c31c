#include "GatewayFixture.h"

#include "connection/Connection.h"
#include "support/EventLoop.h"

using namespace std::chrono_literals;

namespace tesk::test {

void GatewayFixture::TearDown() {
    client.reset();
    if (sim) {
        sim->stop();
    }
}

void GatewayFixture::startSim(gatewaysim::Options options) {
    options.port = 0;
    sim = std::make_unique<gatewaysim::SimThread>(options);
    ASSERT_TRUE(sim->start()) << sim->errorString().toStdString();
}

void GatewayFixture::startClient(SettingsValues values, ConnectionTimings timings) {
    settings.publish(values);
    if (sim) {
        timings.port = sim->port();
    }
    client = std::make_unique<GatewayClient>(queue, settings, view, handlers, timings);
    client->start();
}

SettingsValues GatewayFixture::anonymous() {
    SettingsValues values;
    values.gateway = "127.0.0.1";
    values.anonymous = true;
    return values;
}

SettingsValues GatewayFixture::named(const std::string& user, const std::string& password) {
    SettingsValues values = anonymous();
    values.anonymous = false;
    values.user = user;
    values.password = password;
    return values;
}

ConnectionTimings GatewayFixture::fast() {
    ConnectionTimings timings;
    timings.writerPause = 100ms;
    timings.replyTimeout = 1500ms;
    timings.pollInterval = 60000ms;
    timings.loginTimeout = 1500ms;
    timings.firstRetryPause = 20ms;
    timings.longestRetryPause = 80ms;
    timings.quotaWindow = 200ms;  // PvPGN's quota then never holds up short lines
    timings.quotaMargin = 0ms;
    return timings;
}

std::vector<std::string> GatewayFixture::received(int connection) const {
    std::vector<std::string> lines;
    for (const QByteArray& line : sim->receivedLines(connection)) {
        lines.push_back(line.toStdString());
    }
    return lines;
}

bool GatewayFixture::waitForReceived(std::size_t count, int connection, int timeoutMs) const {
    return waitUntil([&] { return received(connection).size() >= count; }, timeoutMs);
}

bool GatewayFixture::startWatchingAlice() {
    startSim();
    view.names = {"alice"};
    startClient();
    return waitUntil([&] { return handlers.userReplies.size() == 1; });
}

bool GatewayFixture::waitForStatus(ConnectionStatus status, int timeoutMs) const {
    return waitUntil([&] { return client->connection().status() == status; }, timeoutMs);
}

}  // namespace tesk::test
