#pragma once

#include "SimTypes.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

#include <optional>

namespace gatewaysim {

// One step of a scenario's timeline.
struct ScenarioEvent {
    enum class Action { Online, Offline, Move, Away, AwayOff, Dnd, DndOff, Whisper, WhisperTo };

    qint64 atMs = 0;
    Action action = Action::Online;
    QString user;     // the scripted user the step is about (the sender of a whisper)
    QString program;  // Online
    Place place;      // Online, Move
    QString text;     // Away, Dnd: the message; Whisper, WhisperTo: what is said
    QString target;   // WhisperTo: the account of the client that gets the whisper
    QString source;   // the scenario line, for traffic printouts
};

// A parsed scenario file; the format is described in the simulator's README.
struct Scenario {
    QStringList users;               // declared scripted users, in file order
    QMap<QString, QString> replies;  // user -> automatic answer to every whisper
    QVector<ScenarioEvent> events;   // sorted by time; equal times keep the file order
    qint64 loopMs = 0;               // 0 = the timeline runs once

    // `origin` names the text in error messages ("demo.txt:7: ...").
    static std::optional<Scenario> parse(const QByteArray& text, const QString& origin,
                                         QString* error);
    static std::optional<Scenario> load(const QString& path, QString* error);
};

}  // namespace gatewaysim
