#include <gtest/gtest.h>

#include "connection/StatusCommands.h"

using namespace tesk;
using Lines = std::vector<std::string>;

namespace {

struct Row {
    StatusChoice choice;
    ConnectionStatus status;
    Lines queued;  // front first, as the writer will send them
    bool connect;
    bool offline;
};

// The queue's front after putting `putFront` in order: the last one put is sent first.
Lines sendOrder(const StatusAction& action) {
    return Lines(action.putFront.rbegin(), action.putFront.rend());
}

}  // namespace

TEST(StatusCommands, EveryEntryForEveryStatus) {
    using S = ConnectionStatus;
    using C = StatusChoice;
    const Row rows[] = {
        {C::Online, S::Offline, {}, true, false},
        {C::Online, S::None, {}, true, false},
        {C::Online, S::Online, {}, false, false},
        {C::Online, S::Connecting, {}, false, false},
        {C::Online, S::Away, {"/away"}, false, false},
        {C::Online, S::Dnd, {"/dnd"}, false, false},
        {C::Away, S::Away, {}, false, false},
        {C::Away, S::Offline, {"/away"}, true, false},
        {C::Away, S::Online, {"/away"}, false, false},
        {C::Away, S::Connecting, {"/away"}, false, false},
        {C::Away, S::Dnd, {"/dnd", "/away"}, false, false},
        {C::Dnd, S::Dnd, {}, false, false},
        {C::Dnd, S::Offline, {"/dnd"}, true, false},
        {C::Dnd, S::Online, {"/dnd"}, false, false},
        {C::Dnd, S::Away, {"/away", "/dnd"}, false, false},
        {C::Offline, S::Away, {}, false, true},
        {C::Offline, S::Offline, {}, false, true},
    };
    for (const Row& row : rows) {
        const StatusAction action = statusActionFor(row.choice, row.status);
        SCOPED_TRACE(std::string("choice ") + std::to_string(static_cast<int>(row.choice)) +
                     " status " + statusWord(row.status));
        EXPECT_EQ(sendOrder(action), row.queued);
        EXPECT_EQ(action.connect, row.connect);
        EXPECT_EQ(action.goOfflineAndReset, row.offline);
    }
}
