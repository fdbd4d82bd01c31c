#pragma once

#include <QString>

namespace tesk {

// The two notification chimes, relative to the working directory.
constexpr const char* kOnlineSound = "sounds/online.wav";
constexpr const char* kMessageSound = "sounds/message.wav";

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;

    // Plays a wave file without waiting; `path` is relative to the working directory
    // ("sounds/online.wav"). Silent when the file or the audio device is missing.
    virtual void play(const QString& path) = 0;
};

}  // namespace tesk
