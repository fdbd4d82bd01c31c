// The reader's state after a reply: only the offline answer to a "/whois" ends it, and
// the first statistics line uses up the product.
#include <gtest/gtest.h>

#include "connection/ReplyReading.h"

namespace {

using namespace tesk;

TEST(ReadReply, MovesTheReaderStateOnAsTheReplyRequires) {
    const std::string offline = "1019 ERROR \"That user is not logged on.\"";
    struct Row {
        LineCase lineCase;
        const char* lastCommand;
        const char* lastArgument;
        std::string line;
        const char* commandAfter;
        const char* argumentAfter;
    };
    const Row rows[] = {
        {LineCase::WhoisReply, "/whois", "alice", offline, "", "alice"},
        {LineCase::WhoisReply, "/whois", "alice", "1018 INFO \"alice is away (x)\"", "/whois",
         "alice"},
        {LineCase::WhoisReply, "/w", "alice hi", offline, "/w", "alice hi"},  // a refusal
        {LineCase::StatsReply, "/stats", "alice war3", "1018 INFO \"alice's record:\"", "/stats",
         "alice"},
        {LineCase::Whisper, "/w", "alice hi", "1010 WHISPER alice 0000 \"hi\"", "/w", "alice hi"},
    };
    for (const Row& row : rows) {
        ReaderState state{row.lastCommand, row.lastArgument};
        const std::optional<ServerEvent> event = readReply(row.lineCase, row.line, state);
        EXPECT_TRUE(event.has_value()) << row.line;
        EXPECT_EQ(state.lastCommand, row.commandAfter) << row.line << " after " << row.lastCommand;
        EXPECT_EQ(state.lastArgument, row.argumentAfter) << row.line;
    }
}

}  // namespace
