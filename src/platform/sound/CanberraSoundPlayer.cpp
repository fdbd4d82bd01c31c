#include "platform/sound/CanberraSoundPlayer.h"

#include <canberra.h>

#include <QFile>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "platform/PendingSounds.h"
#include "platform/SoundFiles.h"

namespace tesk {

struct CanberraSoundPlayer::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    PendingSounds sounds;  // absolute file names, in the file system's encoding
    bool closed = false;
    bool workerStarted = false;
};

void CanberraSoundPlayer::playQueued(const std::shared_ptr<Queue>& queue) {
    ca_context* context = nullptr;
    for (;;) {
        std::optional<PendingSounds::Sound> sound;
        {
            std::unique_lock<std::mutex> lock(queue->mutex);
            queue->wake.wait(lock, [&] { return queue->closed || !queue->sounds.empty(); });
            if (queue->closed) {
                break;
            }
            sound = queue->sounds.takeFresh(PendingSounds::Clock::now());
        }
        if (!sound) {
            continue;
        }
        if (context == nullptr && ca_context_create(&context) == CA_SUCCESS) {
            ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "TESK", nullptr);
        }
        // The device is opened by the first play and again after a failed one, so a
        // sound card that appears later is picked up; opening it may itself have taken
        // long enough to make the chime stale. Errors are not reported.
        if (context != nullptr && !sound->isStale(PendingSounds::Clock::now())) {
            ca_context_play(context, 0, CA_PROP_MEDIA_FILENAME, sound->file.c_str(),
                            CA_PROP_MEDIA_ROLE, "event", nullptr);
        }
    }
    if (context != nullptr) {
        ca_context_destroy(context);
    }
}

CanberraSoundPlayer::CanberraSoundPlayer() : queue_(std::make_shared<Queue>()) {}

CanberraSoundPlayer::~CanberraSoundPlayer() {
    {
        std::lock_guard<std::mutex> lock(queue_->mutex);
        queue_->closed = true;
    }
    queue_->wake.notify_all();
}

void CanberraSoundPlayer::play(const QString& path) {
    const QString file = soundFilePath(path);
    if (file.isEmpty()) {
        return;
    }
    bool startWorker = false;
    {
        std::lock_guard<std::mutex> lock(queue_->mutex);
        if (!queue_->sounds.add(QFile::encodeName(file).toStdString(),
                                PendingSounds::Clock::now())) {
            return;
        }
        startWorker = !queue_->workerStarted;
        queue_->workerStarted = true;
    }
    if (startWorker) {
        // Detached: joining at exit would hang the program if the device never answers.
        std::thread(playQueued, queue_).detach();
    } else {
        queue_->wake.notify_one();
    }
}

}  // namespace tesk
