#include "platform/sound/CanberraSoundPlayer.h"

#include <canberra.h>

#include <QFile>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "platform/SoundFiles.h"

namespace tesk {

namespace {

// Chimes that wait behind a stalled device are stale by the time it answers; beyond
// this many the new ones are dropped.
constexpr std::size_t kMaxPending = 4;

}  // namespace

struct CanberraSoundPlayer::Queue {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::string> files;  // absolute, in the file system's encoding
    bool closed = false;
    bool workerStarted = false;
};

void CanberraSoundPlayer::playQueued(const std::shared_ptr<Queue>& queue) {
    ca_context* context = nullptr;
    for (;;) {
        std::string file;
        {
            std::unique_lock<std::mutex> lock(queue->mutex);
            queue->wake.wait(lock, [&] { return queue->closed || !queue->files.empty(); });
            if (queue->closed) {
                break;
            }
            file = std::move(queue->files.front());
            queue->files.pop_front();
        }
        if (context == nullptr && ca_context_create(&context) == CA_SUCCESS) {
            ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "TESK", nullptr);
        }
        // The device is opened by the first play and again after a failed one, so a
        // sound card that appears later is picked up. Errors are not reported.
        if (context != nullptr) {
            ca_context_play(context, 0, CA_PROP_MEDIA_FILENAME, file.c_str(), CA_PROP_MEDIA_ROLE,
                            "event", nullptr);
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
        if (queue_->files.size() >= kMaxPending) {
            return;
        }
        queue_->files.push_back(QFile::encodeName(file).toStdString());
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
