#pragma once

#include <cstdint>
#include <string>

// The texts that cross the wire to and from the chat gateway. Every other file refers
// to these names, so each protocol text exists exactly once.
namespace tesk::protocol {

constexpr std::uint16_t kGatewayPort = 6112;

// Login.
constexpr const char* kLoginClass = "c";
constexpr const char* kAnonymousLogin = "anonymous";
constexpr const char* kJoinChannelPrefix = "/join public chat tesk";

// Commands.
constexpr const char* kWhoisPrefix = "/whois ";
constexpr const char* kStatsPrefix = "/stats ";
constexpr const char* kWhisperPrefix = "/w ";
constexpr const char* kAwayCommand = "/away";
constexpr const char* kDndCommand = "/dnd";
constexpr const char* kWhoisCommand = "/whois";
constexpr const char* kWhisperCommand = "/w";
constexpr const char* kStatsCommand = "/stats";
constexpr const char* kControlMarker = "#TESK: Control Command";

// Event prefixes.
constexpr const char* kWhisperFrom = "1004 WHISPER";
constexpr const char* kWhisperSent = "1010 WHISPER";
constexpr const char* kInfo = "1018 INFO";
constexpr const char* kError = "1019 ERROR";
constexpr const char* kNull = "2000 NULL";
constexpr const char* kOtherEvent = "100";
constexpr const char* kLoginAccepted = "2010 NAME";

// Whole lines.
constexpr const char* kAwayOn = "1018 INFO \"You are now marked as being away.\"";
constexpr const char* kDndOn = "1018 INFO \"Do Not Disturb mode engaged.\"";
constexpr const char* kAwayOff = "1018 INFO \"You are no longer marked as away.\"";
constexpr const char* kDndOff = "1018 INFO \"Do Not Disturb mode cancelled.\"";
constexpr const char* kFlooding = "You have been disconnected for flooding.";
constexpr const char* kLoginIncorrect = "Login incorrect";
constexpr const char* kRefused = "] refused";  // anywhere in the line
constexpr const char* kNotLoggedOnReply = "1019 ERROR \"That user is not logged on.\"";

// Phrases inside the quoted text of a "/whois" reply (and of a whisper to a user who is
// away or refuses messages), e.g. "alice is using Starcraft in the channel Foo.".
namespace whois {
constexpr const char* kAway = "is away";
constexpr const char* kRefusing = "is refusing messages";
constexpr const char* kInGame = "in game";
constexpr const char* kPrivateGame = "in a private game";
constexpr const char* kPasswordGame = "in the password protected game";
constexpr const char* kChannel = "in the channel";
constexpr const char* kPrivateChannel = "in a private channel";
constexpr const char* kUsing = "is using";
// No classic gateway says this: it is how the PvPGN dialect words a user who is logged on
// in no channel and in no game (in a game's lobby, say).
constexpr const char* kNowhere = "in no channel and no game";
}  // namespace whois

// Headings among the replies to "/stats": the first line of a record ("alice's record:")
// and the Warcraft III ladder headings.
namespace stats {
constexpr const char* kRecordHeadingEnd = "record:";
constexpr const char* kWarcraftIIIHeadingEnd = "III:";
}  // namespace stats

// What a PvPGN server says differently; the connection's dialect turns it into the forms
// above.
namespace pvpgn {
// The chat class, sent without a line end in front of the account name.
constexpr const char* kLoginClass = "\x03\x04";
// The login prompts come without a line end, so they end up in front of the next line.
constexpr const char* kUserPrompt = "Username: ";
constexpr const char* kPasswordPrompt = "Password: ";
constexpr const char* kUserOffline = "1018 INFO \"User is offline\"";
constexpr const char* kUnknownUser = "1019 ERROR \"Unknown user.\"";
constexpr const char* kDndOff = "1018 INFO \"Do Not Disturb mode canceled.\"";
constexpr const char* kLoginFailed = "Login failed.";
constexpr const char* kNoBotAccess = "Account has no bot access.";
// Phrases of the quoted text of its "1018 INFO" lines: "X is using P and is currently in
// channel "C"." (or "You are using ..."), "X away (M)", "X is unavailable (M)".
constexpr const char* kAreUsing = "are using";
constexpr const char* kCurrentlyIn = "currently in ";
constexpr const char* kChannelQuote = "channel \"";
constexpr const char* kGameQuote = " game \"";
constexpr const char* kPrivateGameQuote = "private game \"";
constexpr const char* kAway = "away";
constexpr const char* kUnavailable = "is unavailable";
constexpr const char* kRecordHeadingEnd = "'s Ladder Record's:";
// A friend's log-on comes as a whisper from the friend, with a chat user's flags, that says
// "Your friend NAME has entered REALM."; the log-off as the bare line "Your friend NAME
// has left REALM.". REALM is the server's own name.
constexpr const char* kFriendFlags = "0010";
constexpr const char* kYourFriend = "Your friend ";
constexpr const char* kFriendEntered = " has entered ";
constexpr const char* kFriendLeft = " has left ";
}  // namespace pvpgn

// Messages shown to the user.
constexpr const char* kRefusedMessage =
    "Battle.net server has refused connection!\nProbably some other program is using it "
    "(e.g. Blizzard's game).";
constexpr const char* kLoginIncorrectMessage =
    "Login or password incorrect! Check them in settings.\nIf you don't have a Battle.net "
    "account from any game other than Warcraft III, you can use Anonymous access.";
constexpr const char* kPvpgnLoginFailedMessage =
    "Login failed: wrong user name or password, or the account is logged on elsewhere.\nCheck "
    "them in settings.";
constexpr const char* kAccountInUse = "Offline (account in use)";
constexpr const char* kAccountNeededMessage =
    "A PvPGN server has no anonymous access.\nEnter your account's user name and password in "
    "the settings, or choose the server type Classic.";
constexpr const char* kStatusPageUrl = "http://www.battle.net/forums/battlenet-status/";

std::string cannotConnectMessage();
// The connect-failure box when the server took the connection but not the login: it did
// not answer it in time, or it closed the connection (with the Classic type, a PvPGN
// server does that).
std::string loginUnansweredMessage();
std::string closedDuringLoginMessage(bool classicType);

// "/join public chat tesk" followed directly by the number, e.g. "...tesk4711".
std::string joinChannelCommand(int number);

}  // namespace tesk::protocol
