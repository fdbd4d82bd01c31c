// Core line interpretation speed: classification plus the whois, whisper and statistics
// interpretation of a realistic mix of server lines, on one core.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "connection/ReplyLines.h"
#include "connection/ServerLine.h"
#include "watch/WhoisReply.h"

using namespace tesk;

int main() {
    std::vector<std::string> lines;
    for (int i = 0; i < 1000; ++i) {
        const std::string name = "user" + std::to_string(i);
        lines.push_back("1018 INFO \"" + name + " is using Starcraft in the channel Clan " +
                        std::to_string(i) + ".\"");
        lines.push_back("1018 INFO \"" + name + " is away (gone fishing " + std::to_string(i) +
                        ")\"");
        lines.push_back("1019 ERROR \"That user is not logged on.\"");
        lines.push_back("1004 WHISPER " + name + " 0000 \"hello number " + std::to_string(i) +
                        "\"");
        lines.push_back("1018 INFO \"Normal games: " + std::to_string(i) + "-5-0\"");
    }
    const char* commands[] = {"/whois", "/whois", "/whois", "", "/stats"};
    constexpr int kRounds = 1000;
    std::size_t checksum = 0;
    WatchedUser user;
    user.presence = Presence::Offline;
    const auto start = std::chrono::steady_clock::now();
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            switch (classifyServerLine(line, commands[i % 5])) {
                case LineCase::WhoisReply:
                    checksum += interpretWhoisReply(line, user).user.place.name.size();
                    break;
                case LineCase::Whisper:
                    checksum += splitWhisperLine(line).partner.size();
                    break;
                case LineCase::StatsReply:
                    checksum += interpretStatsReply(line, "user1 star").body->size();
                    break;
                default:
                    break;
            }
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double perSecond = static_cast<double>(lines.size()) * kRounds / seconds;
    std::printf("line interpretation: %.0f lines/s (%zu lines, %.2f s, checksum %zu)\n",
                perSecond, lines.size() * kRounds, seconds, checksum);
    return 0;
}
