#include "Scenario.h"

#include <QFile>
#include <QSet>

#include <algorithm>
#include <cmath>

namespace gatewaysim {

namespace {

constexpr qint64 kMaxFileBytes = 1024 * 1024;
constexpr double kMaxSeconds = 10'000'000;

struct ParseError {
    QString message;
};

[[noreturn]] void fail(const QString& message) {
    throw ParseError{message};
}

// Reads the words of one line. A word in double quotes may hold spaces.
class Words {
public:
    explicit Words(const QString& line) : line_(line) {}

    bool atEnd() {
        skipSpaces();
        return pos_ >= line_.size();
    }

    QString next(const QString& what) {
        if (atEnd()) {
            fail("missing " + what);
        }
        if (line_[pos_] == '"') {
            const qsizetype close = line_.indexOf('"', pos_ + 1);
            if (close < 0) {
                fail("missing closing quote");
            }
            const QString word = line_.mid(pos_ + 1, close - pos_ - 1);
            pos_ = close + 1;
            if (pos_ < line_.size() && !line_[pos_].isSpace()) {
                fail("a closing quote must end the word");
            }
            return word;
        }
        const qsizetype start = pos_;
        while (pos_ < line_.size() && !line_[pos_].isSpace()) {
            ++pos_;
        }
        return line_.mid(start, pos_ - start);
    }

    // Everything left on the line, as written.
    QString rest() {
        skipSpaces();
        const QString text = line_.mid(pos_);
        pos_ = line_.size();
        return text;
    }

    void expectEnd(const QString& after) {
        if (!atEnd()) {
            fail("unexpected text after " + after + ": '" + rest() + "'");
        }
    }

private:
    void skipSpaces() {
        while (pos_ < line_.size() && line_[pos_].isSpace()) {
            ++pos_;
        }
    }

    QString line_;
    qsizetype pos_ = 0;
};

qint64 parseMs(const QString& word) {
    bool ok = false;
    const double seconds = word.toDouble(&ok);
    if (!ok || !std::isfinite(seconds) || seconds < 0 || seconds > kMaxSeconds) {
        fail("'" + word + "' is not a time in seconds");
    }
    return std::llround(seconds * 1000);
}

QString parseName(Words& words, const QString& what) {
    const QString name = words.next(what);
    if (name.isEmpty() || name.contains('"') ||
        std::any_of(name.begin(), name.end(), [](QChar c) { return c.isSpace(); })) {
        fail("'" + name + "' is not a user name (no spaces or quotes)");
    }
    return name;
}

QString requiredText(Words& words, const QString& what) {
    const QString text = words.rest();
    if (text.isEmpty()) {
        fail("missing " + what);
    }
    return text;
}

Place parsePlace(Words& words) {
    const QString kind =
        words.next("a place (channel, game, private-game, password-game or private-channel)");
    if (kind == "channel") {
        return Place::channel(requiredText(words, "the channel name"));
    }
    if (kind == "game") {
        return Place::game(requiredText(words, "the game name"));
    }
    if (kind == "password-game") {
        return Place::passwordGame(requiredText(words, "the game name"));
    }
    if (kind == "private-game") {
        words.expectEnd("private-game");
        return Place::privateGame();
    }
    if (kind == "private-channel") {
        words.expectEnd("private-channel");
        return Place::privateChannel();
    }
    fail("unknown place '" + kind +
         "' (expected channel, game, private-game, password-game or private-channel)");
}

class Parser {
public:
    Scenario scenario;

    void parseLine(const QString& line) {
        Words words(line);
        const QString command = words.next("a command");
        if (command == "user") {
            const QString name = parseName(words, "a user name");
            words.expectEnd("the user name");
            if (declared_.contains(name.toLower())) {
                fail("user '" + name + "' is declared twice");
            }
            declared_.insert(name.toLower(), name);
            scenario.users.append(name);
        } else if (command == "reply") {
            const QString name = declaredUser(words);
            scenario.replies.insert(name, requiredText(words, "the text of the reply"));
        } else if (command == "loop") {
            if (loopLine_ != 0) {
                fail("loop is given twice");
            }
            scenario.loopMs = parseMs(words.next("the loop length in seconds"));
            words.expectEnd("the loop length");
            if (scenario.loopMs <= 0) {
                fail("the loop length must be more than 0 seconds");
            }
            loopLine_ = lineNumber;
        } else if (command == "at") {
            parseEvent(words, line);
        } else {
            fail("unknown command '" + command + "' (expected user, reply, loop or at)");
        }
    }

    // Runs after the last line; returns the line number of an error found, or 0.
    int finish() {
        for (int i = 0; i < scenario.events.size(); ++i) {
            if (scenario.loopMs > 0 && scenario.events[i].atMs >= scenario.loopMs) {
                message = QString("this step at %1 s never runs: the loop restarts at %2 s")
                              .arg(scenario.events[i].atMs / 1000.0)
                              .arg(scenario.loopMs / 1000.0);
                return eventLines_[i];
            }
        }
        std::stable_sort(
            scenario.events.begin(), scenario.events.end(),
            [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.atMs < b.atMs; });
        return 0;
    }

    int lineNumber = 0;
    QString message;

private:
    QString declaredUser(Words& words) {
        const QString name = parseName(words, "a user name");
        const auto found = declared_.constFind(name.toLower());
        if (found == declared_.constEnd()) {
            fail("user '" + name + "' is not declared (add a line \"user " + name +
                 "\" above this one)");
        }
        return found.value();
    }

    void parseEvent(Words& words, const QString& line) {
        ScenarioEvent event;
        event.atMs = parseMs(words.next("the time in seconds"));
        event.source = line;
        const QString action = words.next("an action");
        using A = ScenarioEvent::Action;
        if (action == "online") {
            event.action = A::Online;
            event.user = declaredUser(words);
            event.program = words.next("the program (in double quotes if it has spaces)");
            event.place = parsePlace(words);
        } else if (action == "offline" || action == "away-off" || action == "dnd-off") {
            event.action = action == "offline"    ? A::Offline
                           : action == "away-off" ? A::AwayOff
                                                  : A::DndOff;
            event.user = declaredUser(words);
            words.expectEnd(action + " " + event.user);
        } else if (action == "place") {
            event.action = A::Move;
            event.user = declaredUser(words);
            event.place = parsePlace(words);
        } else if (action == "away" || action == "dnd") {
            event.action = action == "away" ? A::Away : A::Dnd;
            event.user = declaredUser(words);
            event.text = requiredText(
                words, "the " + action + " message (" + action + "-off ends the mode)");
        } else if (action == "whisper") {
            event.action = A::Whisper;
            event.user = declaredUser(words);
            event.text = requiredText(words, "the text of the whisper");
        } else if (action == "whisper-to") {
            event.action = A::WhisperTo;
            event.user = declaredUser(words);
            event.target = parseName(words, "the account that gets the whisper");
            event.text = requiredText(words, "the text of the whisper");
        } else {
            fail("unknown action '" + action +
                 "' (expected online, offline, place, away, away-off, dnd, dnd-off, whisper "
                 "or whisper-to)");
        }
        scenario.events.append(event);
        eventLines_.append(lineNumber);
    }

    QMap<QString, QString> declared_;  // lower-case name -> name as declared
    QVector<int> eventLines_;
    int loopLine_ = 0;
};

}  // namespace

std::optional<Scenario> Scenario::parse(const QByteArray& text, const QString& origin,
                                        QString* error) {
    Parser parser;
    const auto report = [&](int line, const QString& message) {
        if (error) {
            *error = QString("%1:%2: %3").arg(origin).arg(line).arg(message);
        }
    };
    for (const QByteArray& raw : text.split('\n')) {
        ++parser.lineNumber;
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty() || line.startsWith('#')) {
            continue;
        }
        try {
            parser.parseLine(line);
        } catch (const ParseError& e) {
            report(parser.lineNumber, e.message);
            return std::nullopt;
        }
    }
    if (const int line = parser.finish(); line != 0) {
        report(line, parser.message);
        return std::nullopt;
    }
    return parser.scenario;
}

std::optional<Scenario> Scenario::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error) {
            *error = QString("cannot open %1: %2").arg(path, file.errorString());
        }
        return std::nullopt;
    }
    if (file.size() > kMaxFileBytes) {
        if (error) {
            *error = QString("%1: a scenario file may hold at most %2 bytes")
                         .arg(path)
                         .arg(kMaxFileBytes);
        }
        return std::nullopt;
    }
    return parse(file.readAll(), path, error);
}

}  // namespace gatewaysim
