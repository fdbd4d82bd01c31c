#pragma once

#include <QtGlobal>
#include <functional>
#include <memory>

namespace tesk {

class StopFlag;

// Hand-over of work from worker threads to the application's main (GUI) thread. It is the
// only way work gets there from a worker: GuiTimer and GuiNotice are built on post().
namespace gui_thread {

bool isCurrent();
// False only on a thread other than the application's: before there is an application
// there is no GUI thread to keep to.
bool mayTouchGui();

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

// At the top of code that touches widgets or GUI-thread state: a debug build stops there
// when it is reached from a worker; other builds compile it away.
#define TESK_ASSERT_GUI_THREAD() \
    Q_ASSERT_X(::tesk::gui_thread::mayTouchGui(), Q_FUNC_INFO, "called off the GUI thread")
