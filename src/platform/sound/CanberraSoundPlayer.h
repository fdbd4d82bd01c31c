#pragma once

#include <memory>

#include "platform/SoundPlayer.h"

namespace tesk {

// Plays through libcanberra (PulseAudio or ALSA, whichever the system offers). Opening
// the audio device can stall on a hung sound server, so a worker thread of its own does
// all libcanberra calls and the caller only hands over the file name.
class CanberraSoundPlayer : public SoundPlayer {
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    void play(const QString& path) override;

private:
    struct Queue;
    static void playQueued(const std::shared_ptr<Queue>& queue);

    std::shared_ptr<Queue> queue_;  // shared with the worker, which may outlive the player
};

}  // namespace tesk
