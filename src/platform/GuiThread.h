#pragma once

#include <functional>
#include <memory>

namespace tesk {

class StopFlag;

// Hand-over of work from worker threads to the application's main (GUI) thread.
namespace gui_thread {

bool isCurrent();

// Runs `procedure` on the GUI thread and waits until it has returned; on the GUI
// thread itself it runs at once (a blocking queued call to oneself would deadlock).
// When `stop` is raised while waiting, the wait ends and false is returned; a
// procedure that had not started by then never runs. Procedures must therefore only
// capture values or objects that outlive the worker that hands them over.
bool runAndWait(const std::function<void()>& procedure, const std::shared_ptr<StopFlag>& stop);

// Queues `procedure` for the GUI thread without waiting.
void post(std::function<void()> procedure);

}  // namespace gui_thread
}  // namespace tesk
