#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <exception>
#include <functional>

namespace velmora {

// The text the user sees for an error: a remote failure's message, a wire error's message, or
// the text of any other exception.
QString errorText(const std::exception_ptr& error);

// Where errors that no window caught are reported (the widget layer shows a message box).
void setErrorReporter(std::function<void(const QString&)> reporter);
void reportError(const QString& text);

// Runs `f`, handing any escaped error to the error report. Every user-interface entry point
// (slot, event handler, completion step) runs inside it, so no exception crosses the event loop.
template <class F> void guarded(F&& f) noexcept
{
    try {
        f();
    } catch (...) {
        reportError(errorText(std::current_exception()));
    }
}

// Runs `work` on the thread pool, then `completion` on the user-interface thread. An error that
// escaped `work` is raised again after `completion` and reaches the error report. If `context`
// is destroyed first, the completion and the error are dropped.
void runTask(QObject* context, std::function<void()> work, std::function<void()> completion = {});

// From a work step: runs `f` on the user-interface thread and waits for it. Errors of `f` are
// raised again in the caller. On the user-interface thread itself it runs `f` directly. When
// `context` is destroyed before `f` gets to run, `f` is skipped and the answer is false. Take
// the QPointer on the user-interface thread, when the task starts: the object may be gone by the
// time the work step gets here.
bool runOnUiThreadAndWait(const QPointer<QObject>& context, const std::function<void()>& f);

// Waits until every task started with runTask has finished its work step (used at shutdown
// and by tests). On the user-interface thread it keeps processing events meanwhile, so a work
// step that waits for the user-interface thread can finish.
void waitForTaskWork();

} // namespace velmora
