// Every pure interpretation of a received line, with arbitrary reader and row state, and
// the forms in which received text is shown.
//
// Input: one selector byte, then fields separated by LF:
//   line, last argument, state, place, program, away message, dnd message, last command.
// The low three bits of the selector pick the last command ("/whois", "/w", "/stats", none,
// "/away", "/whoisx", "/st", or the last field). The first byte of the state field is the
// user's presence ("8" offline, "9" online, ":" away, ";" dnd, anything else unknown; "="
// unknown with the unread mark); its next two bytes are an hour and a minute. The place
// field is read as the list shows a place ("channel: Foo", "private game", ...; anything
// else is none). Missing fields take the values of a fresh row.
//
// The line field cannot hold an LF, so everything after the selector is also checked as
// one line, and the fields are replayed as a session of received lines the way the reader
// hands them on.

#include <QByteArray>
#include <QList>
#include <QString>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Check.h"
#include "connection/ConnectionStatus.h"
#include "connection/GatewayDialect.h"
#include "connection/PvpgnNotices.h"
#include "connection/ReplyLines.h"
#include "connection/ReplyReading.h"
#include "connection/ServerLine.h"
#include "connection/WhisperLines.h"
#include "watch/Products.h"
#include "watch/RowReport.h"
#include "watch/ServerReplies.h"
#include "watch/ShownText.h"
#include "watch/UserCommands.h"
#include "watch/UserName.h"
#include "watch/WatchedUser.h"
#include "watch/WhoisReply.h"

namespace {

using namespace tesk;

bool contains(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::vector<std::string> splitFields(std::string_view text) {
    std::vector<std::string> fields;
    for (;;) {
        const std::size_t end = text.find('\n');
        fields.emplace_back(text.substr(0, end));
        if (end == std::string_view::npos) {
            return fields;
        }
        text.remove_prefix(end + 1);
    }
}

std::string field(const std::vector<std::string>& fields, std::size_t index,
                  const std::string& fallback = {}) {
    return index < fields.size() ? fields[index] : fallback;
}

Presence presenceFrom(char c) {
    switch (c) {
        case '8':
            return Presence::Offline;
        case '9':
            return Presence::Online;
        case ':':
            return Presence::Away;
        case ';':
            return Presence::Dnd;
        default:
            return Presence::Unknown;
    }
}

// A place as the list shows it.
Place placeFrom(const std::string& text) {
    using Kind = Place::Kind;
    if (text == "private game") {
        return {Kind::PrivateGame, {}};
    }
    if (text == "private channel") {
        return {Kind::PrivateChannel, {}};
    }
    for (const auto& [label, kind] :
         {std::pair{"channel: ", Kind::Channel}, std::pair{"game: ", Kind::Game},
          std::pair{"password game: ", Kind::PasswordGame}}) {
        if (startsWith(text, label)) {
            return {kind, text.substr(std::string_view(label).size())};
        }
    }
    return {};
}

std::string lastCommandFor(std::uint8_t selector, const std::vector<std::string>& fields) {
    switch (selector & 7) {
        case 0:
            return "/whois";
        case 1:
            return "/w";
        case 2:
            return "/stats";
        case 3:
            return "";
        case 4:
            return "/away";
        case 5:
            return "/whoisx";
        case 6:
            return "/st";
        default:
            return field(fields, 7);
    }
}

std::string swapAsciiCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

std::string foldWindowCharacters(std::string text) {
    for (char& c : text) {
        if (std::string_view("[]()-.#@").find(c) != std::string_view::npos) {
            c = '_';
        }
    }
    return text;
}

void checkClassification(const std::string& line, const std::string& lastCommand) {
    const LineCase lineCase = classifyServerLine(line, lastCommand);
    FUZZ_CHECK(lineCase >= LineCase::CommandEcho && lineCase <= LineCase::Unrecognised);
    FUZZ_CHECK((lineCase == LineCase::CommandEcho) == startsWith(line, "/"));
    if (lineCase == LineCase::WhoisReply) {
        FUZZ_CHECK(lastCommand == "/whois" || lastCommand == "/w");
    }
    if (lineCase == LineCase::StatsReply) {
        FUZZ_CHECK(lastCommand == "/stats");
    }
    if (lineCase == LineCase::Whisper) {
        FUZZ_CHECK(startsWith(line, "1004 WHISPER") || startsWith(line, "1010 WHISPER"));
    }

    const CommandEcho echo = splitCommandEcho(line);
    FUZZ_CHECK(!contains(echo.command, " "));
    if (contains(line, " ")) {
        FUZZ_CHECK(echo.command + " " + echo.argument == line);
    } else {
        FUZZ_CHECK(echo.command.empty() && echo.argument == line);
    }

    const Rgb colour = logColourOf(line);
    static const Rgb kColours[] = {{0, 128, 0},     {128, 0, 0},   {0, 0, 128},
                                   {128, 128, 128}, {128, 0, 128}, {0, 0, 0}};
    bool known = false;
    for (const Rgb& candidate : kColours) {
        known = known || colour == candidate;
    }
    FUZZ_CHECK(known);
}

void checkTimeStamp(const std::string& line, int hour, int minute) {
    const std::string text = timeStampedLogText(line, hour, minute);
    FUZZ_CHECK(endsWith(text, line));
    const std::size_t stamp = text.size() - line.size();
    FUZZ_CHECK(stamp <= 15);
    if (hour >= 0 && hour <= 99 && minute >= 0 && minute <= 99) {
        FUZZ_CHECK(stamp == 8 && text[0] == '[' && text[3] == ':' && text[6] == ']');
    }
}

// A place the whois reply can leave: the one before, a place without a name, or one
// whose name is part of the line.
bool isPlaceFrom(const Place& place, const Place& before, const std::string& line) {
    return place == before || place.name.empty() || contains(line, place.name);
}

void checkWhois(const std::string& line, const WatchedUser& before) {
    const WhoisOutcome outcome = interpretWhoisReply(line, before);
    const WatchedUser& user = outcome.user;
    FUZZ_CHECK(user.unread == before.unread);
    FUZZ_CHECK(user.presence == before.presence || user.presence != Presence::Unknown);
    FUZZ_CHECK(outcome.announce ==
               (before.presence == Presence::Offline && user.presence == Presence::Online));
    ReaderState reader{"/whois", "x"};
    readReply(LineCase::WhoisReply, line, reader);
    if (reader.lastCommand.empty()) {  // the answer that ends the "/whois"
        WatchedUser offline;
        offline.presence = Presence::Offline;
        offline.unread = before.unread;
        FUZZ_CHECK(user == offline);
    } else {
        FUZZ_CHECK(user.awayMessage.size() <= line.size() && contains(line, user.awayMessage));
        FUZZ_CHECK(user.dndMessage.size() <= line.size() && contains(line, user.dndMessage));
        FUZZ_CHECK(user.program == before.program ||
                   (user.program.size() <= line.size() && contains(line, user.program)));
        FUZZ_CHECK(isPlaceFrom(user.place, before.place, line));
    }

    // A line carries the whole answer: reading it twice changes nothing more.
    const WhoisOutcome again = interpretWhoisReply(line, user);
    FUZZ_CHECK(again.user == user);
    FUZZ_CHECK(!again.announce);
}

void checkTextUpTo(const std::string& line, std::size_t from, const std::string& delimiter) {
    const std::string text = textUpTo(line, from, delimiter);
    if (text.empty()) {
        return;
    }
    const std::size_t start = from == 0 ? 0 : from - 1;
    FUZZ_CHECK(!delimiter.empty());
    FUZZ_CHECK(start + text.size() <= line.size());
    FUZZ_CHECK(line.compare(start, text.size(), text) == 0);
    FUZZ_CHECK(line.find(delimiter) == start + text.size());
}

void checkWhisper(const std::string& line) {
    const WhisperLine whisper = splitWhisperLine(line);
    FUZZ_CHECK(whisper.incoming == startsWith(line, "1004 WHISPER"));
    FUZZ_CHECK(whisper.partner.size() + whisper.text.size() <= line.size());
    if (!whisper.partner.empty()) {
        FUZZ_CHECK(line.compare(13, whisper.partner.size(), whisper.partner) == 0);
    }
    FUZZ_CHECK(contains(line, whisper.text));
}

void checkStats(const std::string& line, const std::string& lastArgument) {
    const StatsReply reply = interpretStatsReply(line, lastArgument);
    const std::size_t space = lastArgument.find(' ');
    FUZZ_CHECK(reply.name == lastArgument.substr(0, space));
    FUZZ_CHECK(reply.productCode.has_value() == (space != std::string::npos));
    if (reply.productCode) {
        FUZZ_CHECK(endsWith(statsHeading(*reply.productCode), " statistics:"));
        FUZZ_CHECK(reply.lastArgument == reply.name);
    } else {
        FUZZ_CHECK(reply.lastArgument == lastArgument);
    }
    FUZZ_CHECK(reply.body.has_value() == (!contains(line, "record:") && !contains(line, "III:")));
    if (reply.body) {
        FUZZ_CHECK(reply.body->size() <= line.size() && contains(line, *reply.body));
    }

    // Only the first reply line after the echo names the product.
    const StatsReply next = interpretStatsReply(line, reply.lastArgument);
    FUZZ_CHECK(next.name == reply.name && !next.productCode &&
               next.lastArgument == reply.lastArgument);
    (void)productName(lastArgument);
}

void checkWindowKey(const std::string& name) {
    for (const char* suffix : {"ChatForm", "StatsForm"}) {
        const std::string key = windowKey(name, suffix);
        FUZZ_CHECK(startsWith(key, "_") && endsWith(key, suffix));
        FUZZ_CHECK(windowKey(swapAsciiCase(name), suffix) == key);
        FUZZ_CHECK(windowKey(foldWindowCharacters(name), suffix) == key);
    }
}

int sign(int value) {
    return (value > 0) - (value < 0);
}

// Watch list order: a strict order in which only equal names tie.
void checkNameOrder(const std::string& a, const std::string& b, const std::string& c) {
    const int ab = sign(compareNames(a, b));
    FUZZ_CHECK(compareNames(a, a) == 0);
    FUZZ_CHECK(sign(compareNames(b, a)) == -ab);
    FUZZ_CHECK((ab == 0) == (a == b));
    const int bc = sign(compareNames(b, c));
    if (ab == bc && ab != 0) {
        FUZZ_CHECK(sign(compareNames(a, c)) == ab);
    }
}

void checkRowTexts(const std::string& name, const WatchedUser& user) {
    const std::string report = describeRow(name, user, "last seen 14:02");
    FUZZ_CHECK(startsWith(report, name + " "));
    if (!user.program.empty()) {
        FUZZ_CHECK(contains(report, "program: " + user.program));
    }
    if (!user.awayMessage.empty()) {
        FUZZ_CHECK(contains(report, "away: " + user.awayMessage));
    }

    // The name, the place, then one line per non-empty column and the sighting: nothing
    // received can add a line.
    const QString tip = userInfoTip(name, user, "never seen");
    const int columns =
        2 + !user.program.empty() + !user.awayMessage.empty() + !user.dndMessage.empty();
    FUZZ_CHECK(tip.count('\n') == columns);
}

void checkUserCommands(const std::string& name, std::uint8_t choice) {
    const QString url = playerProfileUrl(name);
    FUZZ_CHECK(url.count('?') == 1 && url.count('&') == 1 && url.count('#') == 0);
    const std::size_t at = name.find('@');
    const std::string player = at == std::string::npos ? std::string() : name.substr(0, at);
    const std::string gateway = at == std::string::npos ? name : name.substr(at + 1);
    // The query holds exactly the two parts, each the UTF-8 of its text percent-encoded.
    // (QUrlQuery is no judge here: it decodes noncharacters such as U+FFFFF to U+FFFD.)
    const QByteArray query = url.toUtf8().split('?').last();
    const QList<QByteArray> items = query.split('&');
    FUZZ_CHECK(items.size() == 2 && items[0].startsWith("Gateway=") &&
               items[1].startsWith("PlayerName="));
    FUZZ_CHECK(QByteArray::fromPercentEncoding(items[0].mid(8)) ==
               QString::fromStdString(gateway).toUtf8());
    FUZZ_CHECK(QByteArray::fromPercentEncoding(items[1].mid(11)) ==
               QString::fromStdString(player).toUtf8());

    FUZZ_CHECK(isWarcraftIIIName(name) == (at != std::string::npos && at >= 1));
    const auto status = static_cast<ConnectionStatus>(choice % 6);
    const UserMenuState menu = userMenuFor(choice >> 4, status, (choice & 8) != 0, name);
    FUZZ_CHECK(!menu.chat || menu.statistics);
    FUZZ_CHECK(menu.warcraftIII != menu.otherGames);
    FUZZ_CHECK(statsCommand(name, "war3") == "/stats " + name + " war3");
}

// Received text as the windows, the terminal and tool tips get it: never a control
// character, never more than its byte budget, never a tag.
void checkShownText(const std::string& text, std::size_t maxBytes) {
    const QString shown = shownText(text, maxBytes);
    FUZZ_CHECK(keptLength(text, maxBytes) <= maxBytes);
    FUZZ_CHECK(static_cast<std::size_t>(shown.toUtf8().size()) <= maxBytes * 3 + 3);
    for (const QChar c : shown) {
        FUZZ_CHECK(c.unicode() >= 0x20 && c.unicode() != 0x7F);
    }

    const std::string terminal = terminalText(text);
    const QString decoded =
        QString::fromUtf8(terminal.data(), static_cast<qsizetype>(terminal.size()));
    for (const char32_t c : decoded.toUcs4()) {
        FUZZ_CHECK(c == '\t' || (c >= 0x20 && c != 0x7F && !(c >= 0x80 && c <= 0x9F)));
        FUZZ_CHECK(!(c >= 0x202A && c <= 0x202E) && !(c >= 0x2066 && c <= 0x2069));
    }

    const QString tip = plainToolTip(shown);
    for (qsizetype i = 0; i < tip.size(); ++i) {
        if (tip[i] == u'<' || tip[i] == u'&') {
            FUZZ_CHECK(i + 1 < tip.size() && tip[i + 1].unicode() == 0x2060);
        }
    }
    FUZZ_CHECK(QString(tip).remove(QChar(0x2060)) == QString(shown).remove(QChar(0x2060)));
}

// PvPGN's friend notices and whois answers; and the line as a chat message cut into
// whispers, which lose nothing but the spaces at their cuts.
void checkPvpgn(const std::string& line, std::size_t longestLine) {
    if (const auto notice = pvpgnFriendNotice(line)) {
        FUZZ_CHECK(!notice->name.empty() && notice->name.find(' ') == std::string::npos);
        FUZZ_CHECK(line.find(notice->name) != std::string::npos);
    }
    (void)isPvpgnWhoisAnswer(line);
    (void)classicFromPvpgn(line);
    const auto withoutSpaces = [](std::string text) {
        text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
        return text;
    };
    std::string joined;
    for (const std::string& whisper : whisperLines("bob", line, longestLine)) {
        FUZZ_CHECK(startsWith(whisper, "/w bob "));
        // Over the limit only when the room cannot hold one character of up to 4 bytes.
        FUZZ_CHECK(longestLine == 0 || whisper.size() <= std::max<std::size_t>(longestLine, 11));
        joined += whisper.substr(7);
    }
    FUZZ_CHECK(withoutSpaces(joined) == withoutSpaces(line));
}

void checkLine(const std::string& line, const std::string& lastCommand,
               const std::string& lastArgument, const WatchedUser& user, int hour, int minute) {
    checkClassification(line, lastCommand);
    checkTimeStamp(line, hour, minute);
    checkWhois(line, user);
    checkTextUpTo(line, static_cast<std::size_t>(hour & 0xFF), lastArgument);
    checkWhisper(line);
    checkStats(line, lastArgument);
    checkShownText(line, static_cast<std::size_t>(minute & 0x3F));
    checkPvpgn(line, static_cast<std::size_t>(hour & 0xFF));
}

// The fields as successive received lines, with the reader's state carried over and one
// watched user named by the argument field.
void replaySession(const std::vector<std::string>& lines, std::string lastCommand,
                   std::string lastArgument, WatchedUser user, std::size_t inputSize) {
    const std::string watched = lastArgument;
    for (const std::string& line : lines) {
        switch (classifyServerLine(line, lastCommand)) {
            case LineCase::CommandEcho: {
                CommandEcho echo = splitCommandEcho(line);
                lastCommand = std::move(echo.command);
                lastArgument = std::move(echo.argument);
                break;
            }
            case LineCase::WhoisReply:
            case LineCase::StatsReply:
            case LineCase::Whisper: {
                ReaderState reader{lastCommand, lastArgument};
                const std::optional<ServerEvent> event =
                    readReply(classifyServerLine(line, lastCommand), line, reader);
                FUZZ_CHECK(event.has_value());
                const auto* answer = std::get_if<WhoisAnswer>(&*event);
                if (answer != nullptr && answer->name == watched) {
                    user = interpretWhoisReply(answer->line, user).user;
                }
                lastCommand = std::move(reader.lastCommand);
                lastArgument = std::move(reader.lastArgument);
                break;
            }
            case LineCase::LoginAccepted:
                lastCommand.clear();
                break;
            default:
                break;
        }
        // Nothing grows beyond the input, but for the fixed words a selector may stand for.
        FUZZ_CHECK(lastCommand.size() <= inputSize + 8 && lastArgument.size() <= inputSize);
        FUZZ_CHECK(user.place.name.size() <= inputSize && user.program.size() <= inputSize);
    }
    (void)describeRow(watched, user, "never seen");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t selector = data[0];
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::vector<std::string> fields = splitFields(rest);

    const std::string line = field(fields, 0);
    const std::string lastArgument = field(fields, 1);
    const std::string stateField = field(fields, 2);
    const std::string placeField = field(fields, 3);
    const std::string lastCommand = lastCommandFor(selector, fields);

    WatchedUser user;
    if (!stateField.empty()) {
        user.presence = presenceFrom(stateField[0]);
        user.unread = stateField[0] == '=';
    }
    const int hour = stateField.size() > 1 ? static_cast<signed char>(stateField[1]) : 12;
    const int minute = stateField.size() > 2 ? static_cast<signed char>(stateField[2]) : 34;
    user.place = placeFrom(placeField);
    user.program = field(fields, 4);
    user.awayMessage = field(fields, 5);
    user.dndMessage = field(fields, 6);

    checkLine(line, lastCommand, lastArgument, user, hour, minute);
    checkLine(rest, lastCommand, lastArgument, user, hour, minute);
    checkTimeStamp(line, INT_MIN, INT_MAX);

    checkWindowKey(lastArgument);
    checkNameOrder(lastArgument, line, placeField);
    checkRowTexts(lastArgument, user);
    checkRowTexts(lastArgument, interpretWhoisReply(line, user).user);
    checkUserCommands(lastArgument, selector);

    replaySession(fields, lastCommand, lastArgument, user, size);
    return 0;
}
