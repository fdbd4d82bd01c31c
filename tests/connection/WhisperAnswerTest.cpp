// Which replies answer a whisper, and which of them refuse it, as the lines come from a
// classic gateway and (as recorded) from a PvPGN server.
#include <gtest/gtest.h>

#include "connection/GatewayDialect.h"
#include "connection/WhisperAnswer.h"

using namespace tesk;

namespace {

struct Row {
    ServerType server;
    const char* line;  // as the server sends it
    const char* lastCommand;
    const char* lastArgument;
    bool answered;        // before the line
    bool answers;         // expected
    const char* refusal;  // "partner | text | reason", or null
};

std::string describe(const std::optional<WhisperRefusal>& refusal) {
    return refusal ? refusal->partner + " | " + refusal->text + " | " + refusal->reason : "none";
}

}  // namespace

TEST(AnswerToWhisper, TheFirstErrorOrRefusingNoticeBeforeTheConfirmationRefusesIt) {
    constexpr ServerType C = ServerType::Classic;
    constexpr ServerType P = ServerType::PvPGN;
    const char* offline = "1019 ERROR \"That user is not logged on.\"";
    const char* quotaWarning =
        "1019 ERROR \"You are sending commands to PvPGN Realm too quickly and risk being "
        "disconnected for flooding. Please slow down.\"";
    const Row rows[] = {
        {C, offline, "/w", "carol hi there", false, true,
         "carol | hi there | That user is not logged on."},
        {P, offline, "/w", "carol hi", false, true, "carol | hi | That user is not logged on."},
        {C, "1019 ERROR \"ivy is refusing messages (in a meeting)\"", "/w", "ivy yo", false, true,
         "ivy | yo | ivy is refusing messages (in a meeting)"},
        {P, "1018 INFO \"ivy is unavailable (in a meeting)\"", "/w", "ivy yo", false, true,
         "ivy | yo | ivy is refusing messages (in a meeting)"},
        {P, "1019 ERROR \"Your message quota has been exceeded!\"", "/w", "bob x", false, true,
         "bob | x | Your message quota has been exceeded!"},
        {P, "1019 ERROR \"Your line length quota has been exceeded!\"", "/w", "bob x", false, true,
         "bob | x | Your line length quota has been exceeded!"},
        {C, "1019 ERROR odd", "/w", "bob x", false, true, "bob | x | 1019 ERROR odd"},
        // Each whisper has one answer: nothing after it until the next echo is a refusal.
        {P, quotaWarning, "/w", "bob x", true, false, nullptr},
        {C, "1010 WHISPER bob 0000 \"x\"", "/w", "bob x", false, true, nullptr},
        {P, "1018 INFO \"bob is away (lunch)\"", "/w", "bob x", true, false, nullptr},
        {C, "1018 INFO \"bob is away (lunch)\"", "/w", "bob x", false, false, nullptr},
        {C, "1004 WHISPER dan 0000 \"x\"", "/w", "bob x", false, false, nullptr},
        // Replies to other commands.
        {C, offline, "/whois", "carol", false, false, nullptr},
        {P, "1018 INFO \"User is offline\"", "/whois", "carol", false, false, nullptr},
        {C, offline, "", "", false, false, nullptr},
        // A name typed after two spaces is no partner.
        {C, offline, "/w", " carol hi", false, true, nullptr},
    };
    for (const Row& row : rows) {
        GatewayDialect dialect;
        dialect.begin(row.server);
        const ReaderState state{row.lastCommand, row.lastArgument, row.answered};
        const WhisperAnswer answer = answerToWhisper(dialect.read(row.line).classic, state);
        EXPECT_EQ(answer.answers, row.answers) << row.line << " after " << row.lastCommand;
        EXPECT_EQ(describe(answer.refusal), row.refusal ? row.refusal : "none")
            << row.line << " after " << row.lastCommand;
    }
}
