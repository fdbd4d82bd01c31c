// The login exchange and the commands of a logged-on client, in either dialect.
#include "GatewaySim.h"

#include "GatewayReplies.h"

#include <QTcpSocket>

#include <algorithm>

namespace gatewaysim {

namespace {

const QByteArray kFirstChannel = "Chat";

// PvPGN's chat connection class, and the byte that clients send after it.
constexpr char kChatClass = '\x03';
const QByteArray kChatClassPreamble = "\x03\x04";

// PvPGN's stock line length quota.
constexpr qsizetype kPvpgnMaxLineBytes = 200;

// Splits at the first space: the word before it and everything after it.
std::pair<QByteArray, QByteArray> splitFirstWord(const QByteArray& text) {
    const qsizetype space = text.indexOf(' ');
    if (space < 0) {
        return {text, {}};
    }
    return {text.left(space), text.mid(space + 1)};
}

QByteArray firstWord(const QByteArray& text) {
    return splitFirstWord(text.trimmed()).first;
}

}  // namespace

bool GatewaySim::takeConnectionClass(ClientSession& session, QByteArray& bytes) {
    session.stage = ClientSession::Stage::AwaitName;
    if (!bytes.startsWith(kChatClass)) {
        return false;
    }
    const QByteArray preamble = bytes.left(bytes.startsWith(kChatClassPreamble) ? 2 : 1);
    bytes.remove(0, preamble.size());
    log_->addLine(session.id, preamble);
    emit lineReceived(session.id, preamble);
    for (const QByteArray& line :
         replies::chatClassGreeting(session.socket->peerAddress().toString().toUtf8())) {
        send(session, line);
    }
    sendPrompt(session, replies::namePrompt());
    return true;
}

void GatewaySim::handleLine(ClientSession& session, const QByteArray& line) {
    if (session.stage != ClientSession::Stage::LoggedIn) {
        handleLogin(session, line);
        return;
    }
    const bool isCommand = line.startsWith('/');
    if (pvpgn()) {
        pvpgnLine(session, line, isCommand);
        return;
    }
    if (session.flood.excess(log_->elapsedMs()) > 0) {
        // The echo still comes first, so the client can tell which command was one too many.
        if (isCommand) {
            send(session, line);
        }
        send(session, replies::disconnectedForFlooding());
        closeGracefully(session);
        return;
    }
    if (!isCommand) {
        return;  // chat text: nobody in the channel to hear it
    }
    send(session, line);
    handleCommand(session, line);
}

// PvPGN's quota: a line longer than it takes is refused and not counted. Any other costs
// its units, and the line that brings the window's units up to the quota is refused, yet
// counted; at twice the quota the client is dropped after the refusal, without the
// classic gateway's flooding line.
void GatewaySim::pvpgnLine(ClientSession& session, const QByteArray& line, bool isCommand) {
    if (line.size() > kPvpgnMaxLineBytes) {
        for (const QByteArray& warning : replies::lineTooLong(isCommand)) {
            send(session, warning);
        }
        return;
    }
    const int perUnit = std::max(1, options_.quotaBytesPerUnit);
    const int units = std::max<int>(1, static_cast<int>((line.size() + perUnit - 1) / perUnit));
    const int counted = session.flood.add(log_->elapsedMs(), units);
    const int quota = session.flood.limit();
    if (quota > 0 && counted >= quota) {
        for (const QByteArray& warning : replies::quotaExceeded(isCommand)) {
            send(session, warning);
        }
        if (counted >= 2 * quota) {
            closeGracefully(session);
        }
    } else if (isCommand) {
        handleCommand(session, line);  // never echoed
    } else {
        send(session, replies::noOneHears());
    }
}

void GatewaySim::handleLogin(ClientSession& session, const QByteArray& line) {
    using Stage = ClientSession::Stage;
    switch (session.stage) {
        case Stage::AwaitClass:
            break;  // taken from the bytes before they are cut into lines
        case Stage::AwaitC:
            // Whatever comes before "c" is not part of a login and gets no answer.
            if (line == "c") {
                session.stage = Stage::AwaitName;
            }
            break;
        case Stage::AwaitName:
            if (pvpgn()) {
                send(session, replies::nameRepeated(line));
                session.account = line;
                session.stage = Stage::AwaitPassword;
                sendPrompt(session, replies::passwordPrompt());
            } else if (line == "anonymous") {
                if (options_.anonymousAllowed) {
                    acceptLogin(session, "Guest#" + QByteArray::number(1000 + session.id));
                } else {
                    rejectLogin(session);
                }
            } else {
                session.account = line;
                session.stage = Stage::AwaitPassword;
            }
            break;
        case Stage::AwaitPassword:
            if (pvpgn()) {
                pvpgnPassword(session, line);
            } else if (const auto name = checkAccount(session.account, line)) {
                acceptLogin(session, *name);
            } else {
                rejectLogin(session);
            }
            break;
        case Stage::LoggedIn:
        case Stage::Closing:
            break;
    }
}

void GatewaySim::pvpgnPassword(ClientSession& session, const QByteArray& password) {
    if (password.isEmpty()) {
        return;  // PvPGN waits on for a password that is not empty
    }
    send(session, replies::passwordTaken());
    const auto name = checkAccount(session.account, password);
    // There is no guest account, and an account cannot log on twice.
    const bool guest = options_.accounts.isEmpty() && session.account.toLower() == "anonymous";
    if (name && !guest && !findOnline(*name)) {
        acceptLogin(session, *name);
        return;
    }
    for (const QByteArray& line : replies::loginFailed()) {
        send(session, line);
    }
    session.account.clear();
    session.stage = ClientSession::Stage::AwaitName;
    sendPrompt(session, replies::namePrompt());
}

bool GatewaySim::knownAccount(const QByteArray& name) const {
    const QByteArray key = name.toLower();
    if (users_.contains(key) || findOnline(name)) {
        return true;
    }
    for (auto it = options_.accounts.cbegin(); it != options_.accounts.cend(); ++it) {
        if (it.key().toUtf8().toLower() == key) {
            return true;
        }
    }
    return false;
}

std::optional<QByteArray> GatewaySim::checkAccount(const QByteArray& name,
                                                   const QByteArray& password) const {
    if (name.isEmpty()) {
        return std::nullopt;
    }
    if (options_.accounts.isEmpty()) {
        return name;
    }
    for (auto it = options_.accounts.cbegin(); it != options_.accounts.cend(); ++it) {
        const QByteArray account = it.key().toUtf8();
        if (account.toLower() == name.toLower()) {
            if (it.value().toUtf8() == password) {
                return account;
            }
            return std::nullopt;
        }
    }
    return std::nullopt;
}

void GatewaySim::acceptLogin(ClientSession& session, const QByteArray& name) {
    session.name = uniqueName(name);  // before the session counts as logged on itself
    session.stage = ClientSession::Stage::LoggedIn;
    session.account.clear();
    session.channel = kFirstChannel;
    send(session, replies::loginAccepted(session.name));
    send(session, replies::channelJoined(session.channel));
    for (const QByteArray& line : replies::welcome(options_.dialect, session.name)) {
        send(session, line);
    }
}

void GatewaySim::rejectLogin(ClientSession& session) {
    send(session, replies::loginIncorrect());
    closeGracefully(session);
}

void GatewaySim::handleCommand(ClientSession& session, const QByteArray& line) {
    const auto [word, args] = splitFirstWord(line);
    const QByteArray command = word.toLower();
    if (command == "/whois" || command == "/whereis" || command == "/where") {
        whois(session, args);
    } else if (command == "/w" || command == "/whisper" || command == "/m" || command == "/msg") {
        whisper(session, args);
    } else if (command == "/away") {
        toggleAway(session, args);
    } else if (command == "/dnd") {
        toggleDnd(session, args);
    } else if (command == "/stats") {
        stats(session, args);
    } else if (command == "/join" || command == "/j") {
        join(session, args);
    } else {
        send(session, replies::unknownCommand(options_.dialect));
    }
}

void GatewaySim::whois(ClientSession& session, const QByteArray& args) {
    const QByteArray name = firstWord(args);
    if (name.isEmpty()) {
        send(session, replies::whoisWithoutName());
        return;
    }
    const std::optional<Presence> user = findOnline(name);
    if (!user) {
        send(session, replies::whoisOffline(options_.dialect, knownAccount(name)));
    } else {
        send(session,
             replies::whoisPlace(options_.dialect, user->name, user->program, user->place));
        // PvPGN tells only one mode, do-not-disturb before away.
        if (!user->away.isEmpty() && !(pvpgn() && !user->dnd.isEmpty())) {
            send(session, replies::whoisAway(options_.dialect, user->name, user->away));
        }
        if (!user->dnd.isEmpty()) {
            send(session, replies::isRefusingMessages(user->name, user->dnd));
        }
    }
    if (pvpgn() && options_.emptyInfoAfterWhois) {
        send(session, replies::info({}));
    }
}

void GatewaySim::whisper(ClientSession& session, const QByteArray& args) {
    const auto [name, text] = splitFirstWord(args);
    if (name.isEmpty() || text.isEmpty()) {
        send(session, replies::whisperWithoutText());
        return;
    }
    const std::optional<Presence> target = findOnline(name);
    if (!target) {
        send(session, replies::notLoggedOn());
        return;
    }
    if (!target->dnd.isEmpty()) {
        send(session, replies::whisperRefused(options_.dialect, target->name, target->dnd));
        return;
    }
    send(session, replies::whisperSent(options_.dialect, target->name, text));
    if (target->session) {
        send(*target->session, replies::whisperReceived(options_.dialect, session.name, text));
    }
    if (!target->away.isEmpty()) {
        send(session, replies::isAway(target->name, target->away));
    }
    if (!target->autoReply.isEmpty()) {
        send(session, replies::whisperReceived(options_.dialect, target->name, target->autoReply));
    }
}

void GatewaySim::toggleAway(ClientSession& session, const QByteArray& args) {
    if (session.away.isEmpty()) {
        const QByteArray message = args.trimmed();
        session.away = message.isEmpty() ? replies::defaultAwayMessage(options_.dialect) : message;
        send(session, replies::awayOn());
    } else {
        session.away.clear();
        send(session, replies::awayOff());
    }
}

void GatewaySim::toggleDnd(ClientSession& session, const QByteArray& args) {
    if (session.dnd.isEmpty()) {
        const QByteArray message = args.trimmed();
        session.dnd = message.isEmpty() ? replies::defaultDndMessage() : message;
        send(session, replies::dndOn());
    } else {
        session.dnd.clear();
        send(session, replies::dndOff(options_.dialect));
    }
}

void GatewaySim::stats(ClientSession& session, const QByteArray& args) {
    const auto [name, rest] = splitFirstWord(args.trimmed());
    if (name.isEmpty()) {
        send(session, replies::whoisWithoutName());
        return;
    }
    // PvPGN's account names have no gateway part, and it knows no name that has one.
    if (pvpgn() && name.contains('@')) {
        send(session, replies::unknownUser());
        return;
    }
    for (const QByteArray& line : replies::stats(options_.dialect, name, firstWord(rest))) {
        send(session, line);
    }
}

void GatewaySim::join(ClientSession& session, const QByteArray& args) {
    const QByteArray channel = args.trimmed();
    if (channel.isEmpty()) {
        send(session, replies::joinWithoutChannel());
        return;
    }
    session.channel = channel;
    send(session, replies::channelJoined(channel));
}

}  // namespace gatewaysim
