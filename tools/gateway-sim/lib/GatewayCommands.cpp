// The login exchange and the commands of a logged-on client.
#include "GatewaySim.h"

#include "GatewayReplies.h"

namespace gatewaysim {

namespace {

const QByteArray kFirstChannel = "Chat";
const QByteArray kDefaultModeMessage = "Not available";

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

void GatewaySim::handleLine(ClientSession& session, const QByteArray& line) {
    if (session.stage != ClientSession::Stage::LoggedIn) {
        handleLogin(session, line);
        return;
    }
    const bool isCommand = line.startsWith('/');
    if (session.flood.exceeded(log_->elapsedMs())) {
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

void GatewaySim::handleLogin(ClientSession& session, const QByteArray& line) {
    using Stage = ClientSession::Stage;
    switch (session.stage) {
        case Stage::AwaitC:
            // Whatever comes before "c" is not part of a login and gets no answer.
            if (line == "c") {
                session.stage = Stage::AwaitName;
            }
            break;
        case Stage::AwaitName:
            if (line == "anonymous") {
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
            if (const auto name = checkAccount(session.account, line)) {
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
        send(session, replies::unknownCommand());
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
        send(session, replies::notLoggedOn());
        return;
    }
    send(session, replies::whoisPlace(user->name, user->program, user->place));
    if (!user->away.isEmpty()) {
        send(session, replies::isAway(user->name, user->away));
    }
    if (!user->dnd.isEmpty()) {
        send(session, replies::isRefusingMessages(user->name, user->dnd));
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
        send(session, replies::whisperRefused(target->name, target->dnd));
        return;
    }
    send(session, replies::whisperSent(target->name, text));
    if (target->session) {
        send(*target->session, replies::whisperReceived(session.name, text));
    }
    if (!target->away.isEmpty()) {
        send(session, replies::isAway(target->name, target->away));
    }
    if (!target->autoReply.isEmpty()) {
        send(session, replies::whisperReceived(target->name, target->autoReply));
    }
}

void GatewaySim::toggleAway(ClientSession& session, const QByteArray& args) {
    if (session.away.isEmpty()) {
        const QByteArray message = args.trimmed();
        session.away = message.isEmpty() ? kDefaultModeMessage : message;
        send(session, replies::awayOn());
    } else {
        session.away.clear();
        send(session, replies::awayOff());
    }
}

void GatewaySim::toggleDnd(ClientSession& session, const QByteArray& args) {
    if (session.dnd.isEmpty()) {
        const QByteArray message = args.trimmed();
        session.dnd = message.isEmpty() ? kDefaultModeMessage : message;
        send(session, replies::dndOn());
    } else {
        session.dnd.clear();
        send(session, replies::dndOff());
    }
}

void GatewaySim::stats(ClientSession& session, const QByteArray& args) {
    const auto [name, rest] = splitFirstWord(args.trimmed());
    if (name.isEmpty()) {
        send(session, replies::whoisWithoutName());
        return;
    }
    for (const QByteArray& line : replies::stats(name, firstWord(rest))) {
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
