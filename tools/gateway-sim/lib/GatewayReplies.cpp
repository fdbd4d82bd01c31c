#include "GatewayReplies.h"

namespace gatewaysim::replies {

namespace {

// Whisper flags are always four characters wide.
const QByteArray kWhisperFlags = "0000";

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

QByteArray record(quint32& seed, int maxGames) {
    const auto next = [&seed](int bound) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 16) % static_cast<quint32>(bound));
    };
    const int wins = next(maxGames);
    const int losses = next(maxGames);
    const int draws = next(3);
    return QByteArray::number(wins) + '-' + QByteArray::number(losses) + '-' +
           QByteArray::number(draws);
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

QByteArray info(const QByteArray& text) {
    return "1018 INFO " + quoted(text);
}

QByteArray error(const QByteArray& text) {
    return "1019 ERROR " + quoted(text);
}

QByteArray notLoggedOn() {
    return error("That user is not logged on.");
}

QByteArray unknownCommand() {
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

QByteArray whoisPlace(const QByteArray& name, const QByteArray& program, const Place& place) {
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

QByteArray isAway(const QByteArray& name, const QByteArray& message) {
    return info(name + " is away (" + message + ')');
}

QByteArray isRefusingMessages(const QByteArray& name, const QByteArray& message) {
    return info(name + " is refusing messages (" + message + ')');
}

QByteArray whisperRefused(const QByteArray& name, const QByteArray& message) {
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

QByteArray dndOff() {
    return info("Do Not Disturb mode cancelled.");
}

QByteArray whisperReceived(const QByteArray& from, const QByteArray& text) {
    return "1004 WHISPER " + from + ' ' + kWhisperFlags + ' ' + quoted(text);
}

QByteArray whisperSent(const QByteArray& to, const QByteArray& text) {
    return "1010 WHISPER " + to + ' ' + kWhisperFlags + ' ' + quoted(text);
}

QList<QByteArray> stats(const QByteArray& name, const QByteArray& product) {
    const QByteArray code = product.toLower();
    quint32 seed = stableHash(name.toLower() + ' ' + code);
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

}  // namespace gatewaysim::replies
