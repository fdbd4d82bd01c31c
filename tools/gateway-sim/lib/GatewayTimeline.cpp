// Playback of a scenario's timeline on the simulator's clock.
#include "GatewaySim.h"

#include <QTimer>

#include <algorithm>
#include <climits>

namespace gatewaysim {

void GatewaySim::playScenario(const Scenario& scenario) {
    scenario_ = scenario;
    for (const QString& name : scenario_.users) {
        user(name);
    }
    for (auto it = scenario_.replies.cbegin(); it != scenario_.replies.cend(); ++it) {
        setAutoReply(it.key(), it.value());
    }
    cycleStartMs_ = log_->elapsedMs();
    nextStep_ = 0;
    runDueSteps();  // steps at second 0 are in place before this returns
}

void GatewaySim::runDueSteps() {
    for (;;) {
        const qint64 now = log_->elapsedMs() - cycleStartMs_;
        if (nextStep_ < scenario_.events.size()) {
            if (scenario_.events[nextStep_].atMs > now) {
                break;
            }
            applyStep(scenario_.events[nextStep_++]);
        } else if (scenario_.loopMs > 0 && now >= scenario_.loopMs) {
            restartTimeline();
        } else {
            break;
        }
    }
    scheduleNextStep();
}

void GatewaySim::scheduleNextStep() {
    qint64 dueMs = 0;
    if (nextStep_ < scenario_.events.size()) {
        dueMs = scenario_.events[nextStep_].atMs;
    } else if (scenario_.loopMs > 0) {
        dueMs = scenario_.loopMs;
    } else {
        timeline_->stop();
        return;
    }
    const qint64 waitMs = dueMs - (log_->elapsedMs() - cycleStartMs_);
    timeline_->start(static_cast<int>(std::clamp<qint64>(waitMs, 0, INT_MAX)));
}

void GatewaySim::restartTimeline() {
    // Whole cycles missed (a stopped process) are skipped, not replayed.
    const qint64 now = log_->elapsedMs() - cycleStartMs_;
    cycleStartMs_ += now / scenario_.loopMs * scenario_.loopMs;
    nextStep_ = 0;
    for (const QString& name : scenario_.users) {
        setUserOffline(name);
    }
    emit scenarioStep("loop: the timeline starts again, every scripted user offline");
}

void GatewaySim::applyStep(const ScenarioEvent& step) {
    emit scenarioStep(step.source);
    using Action = ScenarioEvent::Action;
    switch (step.action) {
        case Action::Online:
            setUserOnline(step.user, step.program, step.place);
            break;
        case Action::Offline:
            setUserOffline(step.user);
            break;
        case Action::Move:
            setUserPlace(step.user, step.place);
            break;
        case Action::Away:
            setAway(step.user, step.text);
            break;
        case Action::AwayOff:
            setAway(step.user, {});
            break;
        case Action::Dnd:
            setDnd(step.user, step.text);
            break;
        case Action::DndOff:
            setDnd(step.user, {});
            break;
        case Action::Whisper:
            whisperToAll(step.user, step.text);
            break;
        case Action::WhisperTo:
            whisperTo(step.target, step.user, step.text);
            break;
    }
}

}  // namespace gatewaysim
