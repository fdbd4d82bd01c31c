#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ping/Pinger.h"

namespace tesk::test {

// A scripted stand-in for the ICMP echo service: answers without any network traffic and
// records every request. Shared by the test and the services that the pinger opens.
class FakeEchoes {
public:
    using Answer = std::optional<std::chrono::milliseconds>;

    struct Request {
        std::string target;  // dotted
        std::vector<std::uint8_t> data;
        std::chrono::milliseconds timeout;
    };

    FakeEchoes();

    Pinger::EchoOpener opener() const;

    void setCanOpen(bool canOpen);
    // Answers given in turn, then `standing` for every later request.
    void script(std::deque<Answer> answers, Answer standing);
    // While held, a request waits until release, its timeout or the stop flag.
    void hold(bool held);

    int opened() const;
    std::vector<Request> requests() const;
    std::size_t requestCount() const { return requests().size(); }

    struct State;

private:
    std::shared_ptr<State> state_;
};

}  // namespace tesk::test
