#include "GatewayReplies.h"

namespace gatewaysim::replies {

namespace {

// Whisper flags are always four characters wide; PvPGN shows a chat user's as 0010.
QByteArray whisperFlags(Dialect dialect) {
    return dialect == Dialect::Pvpgn ? "0010" : "0000";
}

const QByteArray kPvpgnRealm = "PvPGN Realm";

QByteArray quoted(const QByteArray& text) {
    return '"' + text + '"';
}

// FNV-1a: unlike qHash it is not seeded per process, so the numbers stay put between runs.
quint32 stableHash(const QByteArray& bytes) {
    quint32 hash = 2166136261u;
    for (const char c : bytes) {
        hash ^= static_cast<quint8>(c);
        hash *= 16777619u;
    }
    return hash;
}

int nextNumber(quint32& seed, int bound) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<quint32>(bound));
}

// Wins, losses and draws.
QByteArray record(quint32& seed, int maxGames, char separator = '-') {
    const int wins = nextNumber(seed, maxGames);
    const int losses = nextNumber(seed, maxGames);
    const int draws = nextNumber(seed, 3);
    return QByteArray::number(wins) + separator + QByteArray::number(losses) + separator +
           QByteArray::number(draws);
}

QList<QByteArray> classicStats(const QByteArray& name, const QByteArray& code, quint32 seed) {
    QList<QByteArray> lines{info(name + "'s record:")};
    if (code == "war3") {
        lines << info("Warcraft III: level " + QByteArray::number(1 + seed % 40))
              << info("Solo games: " + record(seed, 200))
              << info("Team games: " + record(seed, 200)) << info("FFA games: " + record(seed, 50));
        return lines;
    }
    lines << info("Normal games: " + record(seed, 100))
          << info("Ladder games: " + record(seed, 60));
    if (code == "w2bn") {
        lines << info("IronMan Ladder games: " + record(seed, 20));
    }
    return lines;
}

QList<QByteArray> pvpgnStats(const QByteArray& name, const QByteArray& code, quint32 seed) {
    if (code == "war3") {
        QList<QByteArray> lines{info(name + "'s Ladder Record's:")};
        for (const QByteArray ladder : {"Solo", "Team", "FFA"}) {
            const QByteArray upper = ladder.toUpper();
            lines << info("Users " + ladder +
                          " Level: " + QByteArray::number(nextNumber(seed, 40)) +
                          ", Experience: " + QByteArray::number(nextNumber(seed, 5000)))
                  << info(upper + " Ladder Record: " + record(seed, 200))
                  << info(upper + " Rank: " + QByteArray::number(nextNumber(seed, 1000)));
        }
        return lines;
    }
    QList<QByteArray> lines{info(name + "'s record:")};
    if (code == "sexp" || code == "w2bn") {
        const auto ladder = [&seed](const QByteArray& kind) {
            return info(kind + " games: [n00b] " + QByteArray::number(nextNumber(seed, 2000)) +
                        " pts (" + record(seed, 60, '/') + ')');
        };
        lines << ladder("Ladder") << ladder("Normal");
        if (code == "w2bn") {
            lines << ladder("IronMan");
        }
        return lines;
    }
    lines << info("Normal games: " + record(seed, 100))
          << info("Ladder games: " + record(seed, 60));
    return lines;
}

// PvPGN knows no private channel; it names a user who is in no channel and in no game
// as using the program only.
QByteArray pvpgnWhoisPlace(const QByteArray& name, const QByteArray& program, const Place& place) {
    const QByteArray where = '"' + place.name.toUtf8() + "\".";
    QByteArray text = name + " is using " + program;
    switch (place.kind) {
        case Place::Kind::Channel:
            text += " and is currently in channel " + where;
            break;
        case Place::Kind::Game:
            text += " and is currently in  game " + where;
            break;
        case Place::Kind::PrivateGame:
        case Place::Kind::PasswordGame:
            text += " and is currently in private game " + where;
            break;
        case Place::Kind::PrivateChannel:
            text += '.';
            break;
    }
    return info(text);
}

}  // namespace

QByteArray loginAccepted(const QByteArray& name) {
    return "2010 NAME " + name;
}

QByteArray channelJoined(const QByteArray& channel) {
    return "1007 CHANNEL " + quoted(channel);
}

QByteArray loginIncorrect() {
    return "Login incorrect";
}

QByteArray connectionRefused(const QByteArray& peer) {
    return "Connection from [" + peer + "] refused.";
}

QByteArray disconnectedForFlooding() {
    return "You have been disconnected for flooding.";
}

QList<QByteArray> chatClassGreeting(const QByteArray& peer) {
    return {"BOT or Telnet Connection from [" + peer + "]", "",
            "Enter your account name and password.", "Sorry, there is no guest account.", ""};
}

QByteArray namePrompt() {
    return "Username: ";
}

QByteArray nameRepeated(const QByteArray& name) {
    return name;
}

QByteArray passwordPrompt() {
    return "Password: ";
}

QByteArray passwordTaken() {
    return "";
}

QList<QByteArray> loginFailed() {
    return {"Login failed.", ""};
}

QList<QByteArray> welcome(Dialect dialect, const QByteArray& name) {
    if (dialect != Dialect::Pvpgn) {
        return {};
    }
    return {"1001 USER " + name + " 0010 [CHAT]",
            error("Hello " + name + ", welcome to " + kPvpgnRealm + "!"),
            info("Running version PvPGN 1.99.7.2.1-PRO on gateway-sim."),
            info(""),
            info("Having trouble with a command? Type /help to"),
            info("learn more about it."),
            info(""),
            "1005 TALK " + name + " 0010 \"You have no mail.\"",
            info("This is the public chat channel. Feel free to chat...")};
}

QByteArray info(const QByteArray& text) {
    return "1018 INFO " + quoted(text);
}

QByteArray error(const QByteArray& text) {
    return "1019 ERROR " + quoted(text);
}

QByteArray notLoggedOn() {
    return error("That user is not logged on.");
}

QByteArray unknownCommand(Dialect dialect) {
    if (dialect == Dialect::Pvpgn) {
        return error("Unknown command.");
    }
    return error("That is not a valid command. Type /help or /? for more info.");
}

QByteArray whoisWithoutName() {
    return error("What user do you want information about?");
}

QByteArray whisperWithoutText() {
    return error("What do you want to say?");
}

QByteArray joinWithoutChannel() {
    return error("What channel do you want to join?");
}

namespace {

// PvPGN's refusal of a line, with its warning about flooding after a command.
QList<QByteArray> quotaRefusal(const QByteArray& text, bool command) {
    QList<QByteArray> lines{error(text)};
    if (command) {
        lines << error("You are sending commands to " + kPvpgnRealm +
                       " too quickly and risk being disconnected for flooding. Please slow down.");
    }
    return lines;
}

}  // namespace

QList<QByteArray> quotaExceeded(bool command) {
    return quotaRefusal("Your message quota has been exceeded!", command);
}

QList<QByteArray> lineTooLong(bool command) {
    return quotaRefusal("Your line length quota has been exceeded!", command);
}

QByteArray noOneHears() {
    return info("No one hears you.");
}

QByteArray whoisPlace(Dialect dialect, const QByteArray& name, const QByteArray& program,
                      const Place& place) {
    if (dialect == Dialect::Pvpgn) {
        return pvpgnWhoisPlace(name, program, place);
    }
    const QByteArray where = place.name.toUtf8();
    QByteArray text = name + " is using " + program + ' ';
    switch (place.kind) {
        case Place::Kind::Channel:
            text += "in the channel " + where + '.';
            break;
        case Place::Kind::Game:
            text += "in game " + where + '.';
            break;
        case Place::Kind::PrivateGame:
            text += "in a private game.";
            break;
        case Place::Kind::PasswordGame:
            text += "in the password protected game " + where + '.';
            break;
        case Place::Kind::PrivateChannel:
            text += "in a private channel.";
            break;
    }
    return info(text);
}

QByteArray whoisAway(Dialect dialect, const QByteArray& name, const QByteArray& message) {
    if (dialect == Dialect::Pvpgn) {
        return info(name + " away (" + message + ')');
    }
    return isAway(name, message);
}

QByteArray unknownUser() {
    return error("Unknown user.");
}

QByteArray whoisOffline(Dialect dialect, bool knownAccount) {
    if (dialect != Dialect::Pvpgn) {
        return notLoggedOn();
    }
    return knownAccount ? info("User is offline") : unknownUser();
}

QByteArray isAway(const QByteArray& name, const QByteArray& message) {
    return info(name + " is away (" + message + ')');
}

QByteArray isRefusingMessages(const QByteArray& name, const QByteArray& message) {
    return info(name + " is refusing messages (" + message + ')');
}

QByteArray whisperRefused(Dialect dialect, const QByteArray& name, const QByteArray& message) {
    if (dialect == Dialect::Pvpgn) {
        return info(name + " is unavailable (" + message + ')');
    }
    return error(name + " is refusing messages (" + message + ')');
}

QByteArray awayOn() {
    return info("You are now marked as being away.");
}

QByteArray awayOff() {
    return info("You are no longer marked as away.");
}

QByteArray dndOn() {
    return info("Do Not Disturb mode engaged.");
}

QByteArray dndOff(Dialect dialect) {
    if (dialect == Dialect::Pvpgn) {
        return info("Do Not Disturb mode canceled.");
    }
    return info("Do Not Disturb mode cancelled.");
}

QByteArray defaultAwayMessage(Dialect dialect) {
    return dialect == Dialect::Pvpgn ? "Currently not available" : "Not available";
}

QByteArray defaultDndMessage() {
    return "Not available";
}

QByteArray friendEntered(const QByteArray& name) {
    return whisperReceived(Dialect::Pvpgn, name,
                           "Your friend " + name + " has entered " + kPvpgnRealm + '.');
}

QByteArray friendLeft(const QByteArray& name) {
    return "Your friend " + name + " has left " + kPvpgnRealm + '.';
}

QByteArray whisperReceived(Dialect dialect, const QByteArray& from, const QByteArray& text) {
    return "1004 WHISPER " + from + ' ' + whisperFlags(dialect) + ' ' + quoted(text);
}

QByteArray whisperSent(Dialect dialect, const QByteArray& to, const QByteArray& text) {
    return "1010 WHISPER " + to + ' ' + whisperFlags(dialect) + ' ' + quoted(text);
}

QList<QByteArray> stats(Dialect dialect, const QByteArray& name, const QByteArray& product) {
    const QByteArray code = product.toLower();
    const quint32 seed = stableHash(name.toLower() + ' ' + code);
    return dialect == Dialect::Pvpgn ? pvpgnStats(name, code, seed)
                                     : classicStats(name, code, seed);
}

}  // namespace gatewaysim::replies
