#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "GatewaySim.h"
#include "connection/ConnectionView.h"
#include "connection/GatewayClient.h"
#include "connection/ServerEvent.h"
#include "platform/GuiThread.h"
#include "settings/LiveSettings.h"

namespace tesk::test {

// Records what the connection shows; never blocks (the error box is only noted). Like the
// windows, it stops a debug build that the connection reaches from a worker.
class RecordingView : public ConnectionView {
public:
    void displayStatus(const StatusDisplay& display) override {
        TESK_ASSERT_GUI_THREAD();
        statuses.push_back(display.caption);
        tips.push_back(display.tipCaption);
    }
    std::vector<std::string> namesToPoll() override {
        TESK_ASSERT_GUI_THREAD();
        return names;
    }
    void resetWatchRows() override {
        TESK_ASSERT_GUI_THREAD();
        ++resets;
    }
    void showError(const std::string& message) override {
        TESK_ASSERT_GUI_THREAD();
        errors.push_back(message);
    }
    void logNote(const std::string& text) override {
        TESK_ASSERT_GUI_THREAD();
        notes.push_back(text);
        noteTimes.push_back(std::chrono::steady_clock::now());
    }

    std::vector<std::string> names;
    std::vector<std::string> statuses;
    std::vector<std::string> tips;
    std::vector<std::string> errors;
    std::vector<std::string> notes;
    std::vector<std::chrono::steady_clock::time_point> noteTimes;
    int resets = 0;
};

// Writes down every event the reader hands on, one text each.
class RecordingHandlers : public ServerEventSink {
public:
    void handle(const ServerEvent& event) override {
        TESK_ASSERT_GUI_THREAD();
        std::visit(EventHandlers{
                       [this](const LogEntry& entry) { log.push_back(entry.text.substr(8)); },
                       [this](const WhoisAnswer& answer) {
                           userReplies.push_back(answer.name + " <- " + answer.line);
                       },
                       [this](const StatsAnswer& reply) {
                           statsReplies.push_back(reply.name + " | " +
                                                  reply.productCode.value_or("") + " | " +
                                                  reply.body.value_or("(record)"));
                       },
                       [this](const WhisperEvent& whisper) {
                           whispers.push_back((whisper.incoming ? "from " : "to ") +
                                              whisper.partner + ": " + whisper.text);
                       },
                       [this](const WhisperRefusal& refusal) {
                           refusals.push_back(refusal.partner + " | " + refusal.text + " | " +
                                              refusal.reason);
                       },
                       [this](const FriendNotice& notice) {
                           friendNotices.push_back(notice.name +
                                                   (notice.online ? " entered" : " left"));
                       },
                   },
                   event);
    }

    std::vector<std::string> log;
    std::vector<std::string> userReplies;   // "name <- line"
    std::vector<std::string> statsReplies;  // "name | product on the first line | body"
    std::vector<std::string> whispers;      // "from partner: text" or "to partner: text"
    std::vector<std::string> refusals;      // "partner | text | reason"
    std::vector<std::string> friendNotices;  // "name entered" or "name left"
};

// A gateway simulator on a free loopback port and a client with short timings.
class GatewayFixture : public ::testing::Test {
protected:
    void TearDown() override;

    void startSim(gatewaysim::Options options = {});
    void startClient(SettingsValues values = anonymous(), ConnectionTimings timings = fast());

    // The simulator and a client watching "alice", once the first answer about her is in.
    bool startWatchingAlice();

    static SettingsValues anonymous();
    static SettingsValues named(const std::string& user, const std::string& password);
    static ConnectionTimings fast();

    // Lines the simulator received, all connections or one, as text.
    std::vector<std::string> received(int connection = 0) const;
    bool waitForReceived(std::size_t count, int connection = 0, int timeoutMs = 5000) const;
    bool waitForStatus(ConnectionStatus status, int timeoutMs = 5000) const;

    std::unique_ptr<gatewaysim::SimThread> sim;
    CommandQueue queue;
    LiveSettings settings;
    RecordingView view;
    RecordingHandlers handlers;
    std::unique_ptr<GatewayClient> client;
};

}  // namespace tesk::test
