#include "tasks.h"

#include "server_connection.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QThread>
#include <QThreadPool>

#include <mutex>

namespace velmora {

namespace {

std::mutex& reporterMutex()
{
    static std::mutex m;
    return m;
}

std::function<void(const QString&)>& reporter()
{
    static std::function<void(const QString&)> r;
    return r;
}

QThreadPool& taskPool()
{
    // Tasks may block on the network for seconds (connection checks, echo retries); a few
    // more threads than cores keep one slow task from holding up the others.
    static QThreadPool pool;
    static const bool sized = [] {
        pool.setMaxThreadCount(16);
        return true;
    }();
    Q_UNUSED(sized);
    return pool;
}

} // namespace

QString errorText(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const RemoteError& e) {
        return e.message();
    } catch (const WireError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Bilinmeyen hata");
    }
}

void setErrorReporter(std::function<void(const QString&)> r)
{
    std::lock_guard lock(reporterMutex());
    reporter() = std::move(r);
}

void reportError(const QString& text)
{
    std::function<void(const QString&)> r;
    {
        std::lock_guard lock(reporterMutex());
        r = reporter();
    }
    if (r)
        r(text);
    else
        qWarning("%s", qPrintable(text));
}

void runTask(QObject* context, std::function<void()> work, std::function<void()> completion)
{
    QPointer<QObject> guard(context);
    taskPool().start([guard, work = std::move(work), completion = std::move(completion)]() mutable {
        std::exception_ptr error;
        try {
            work();
        } catch (...) {
            error = std::current_exception();
        }
        QObject* target = guard ? guard.data() : QCoreApplication::instance();
        if (!target)
            return;
        QMetaObject::invokeMethod(
            target,
            [guard, completion = std::move(completion), error] {
                if (!guard)
                    return;
                guarded([&] {
                    if (completion)
                        completion();
                    if (error)
                        std::rethrow_exception(error);
                });
            },
            Qt::QueuedConnection);
    });
}

bool runOnUiThreadAndWait(const QPointer<QObject>& context, const std::function<void()>& f)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() == app->thread()) {
        if (!context)
            return false;
        f();
        return true;
    }
    const QPointer<QObject> guard = context;
    bool ran = false;
    std::exception_ptr error;
    QMetaObject::invokeMethod(
        app,
        [&] {
            if (!guard)
                return;
            ran = true;
            try {
                f();
            } catch (...) {
                error = std::current_exception();
            }
        },
        Qt::BlockingQueuedConnection);
    if (error)
        std::rethrow_exception(error);
    return ran;
}

void waitForTaskWork()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) {
        taskPool().waitForDone();
        return;
    }
    while (!taskPool().waitForDone(10))
        QCoreApplication::processEvents();
}

} // namespace velmora
