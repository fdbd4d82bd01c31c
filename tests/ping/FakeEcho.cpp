#include "FakeEcho.h"

#include <arpa/inet.h>

#include "platform/StopFlag.h"

namespace tesk::test {

struct FakeEchoes::State {
    mutable std::mutex mutex;
    std::condition_variable released;
    bool canOpen = true;
    bool held = false;
    std::deque<Answer> answers;
    Answer standing = std::chrono::milliseconds(42);
    int opened = 0;
    std::vector<Request> requests;
};

namespace {

class FakeEcho : public EchoService {
public:
    explicit FakeEcho(std::shared_ptr<FakeEchoes::State> state) : state_(std::move(state)) {}

    std::optional<std::chrono::milliseconds> echo(const in_addr& target,
                                                  const std::vector<std::uint8_t>& data,
                                                  std::chrono::milliseconds timeout,
                                                  const StopFlag& stop) override {
        char dotted[INET_ADDRSTRLEN] = {};
        ::inet_ntop(AF_INET, &target, dotted, sizeof dotted);
        std::unique_lock<std::mutex> lock(state_->mutex);
        state_->requests.push_back({dotted, data, timeout});
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (state_->held) {
            if (stop.raised() || std::chrono::steady_clock::now() >= deadline) {
                return std::nullopt;
            }
            state_->released.wait_for(lock, std::chrono::milliseconds(5));
        }
        if (state_->answers.empty()) {
            return state_->standing;
        }
        const FakeEchoes::Answer answer = state_->answers.front();
        state_->answers.pop_front();
        return answer;
    }

private:
    std::shared_ptr<FakeEchoes::State> state_;
};

}  // namespace

FakeEchoes::FakeEchoes() : state_(std::make_shared<State>()) {}

Pinger::EchoOpener FakeEchoes::opener() const {
    auto state = state_;
    return [state]() -> std::unique_ptr<EchoService> {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (!state->canOpen) {
            return nullptr;
        }
        ++state->opened;
        return std::make_unique<FakeEcho>(state);
    };
}

void FakeEchoes::setCanOpen(bool canOpen) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->canOpen = canOpen;
}

void FakeEchoes::script(std::deque<Answer> answers, Answer standing) {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->answers = std::move(answers);
    state_->standing = standing;
}

void FakeEchoes::hold(bool held) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->held = held;
    }
    state_->released.notify_all();
}

int FakeEchoes::opened() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->opened;
}

std::vector<FakeEchoes::Request> FakeEchoes::requests() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->requests;
}

}  // namespace tesk::test
