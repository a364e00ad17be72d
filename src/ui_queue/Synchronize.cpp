#include "ui_queue/Synchronize.h"

#include "ui_queue/OutArray.h"

#include <QCoreApplication>
#include <QThread>

TSynchronizer::TSynchronizer(TOutArray& queue, QObject* parent) : QObject(parent), m_queue(queue) {}

void TSynchronizer::Synchronize(const std::function<void()>& fn) {
    if (QThread::currentThread() == thread()) {
        fn();
        return;
    }
    Call call{&fn, false, nullptr};
    {
        std::lock_guard lock(m_mutex);
        m_calls.push_back(&call);
    }
    m_changed.notify_all();
    WakeMainThread();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return call.done; });
    if (call.error)
        std::rethrow_exception(call.error);
}

void TSynchronizer::WakeMainThread() {
    // The tick serves the call anyway; the posted event only spares waiting for it.
    QMetaObject::invokeMethod(this, &TSynchronizer::ServePending, Qt::QueuedConnection);
}

void TSynchronizer::ServePending() {
    {
        std::lock_guard lock(m_mutex);
        if (m_calls.empty())
            return;
    }
    if (m_queue.Draining())
        return; // the tick serves the call once the modal box is closed
    m_queue.DrainQueue();
    RunWaitingCalls();
}

void TSynchronizer::RunWaitingCalls() {
    for (;;) {
        Call* call = nullptr;
        {
            std::lock_guard lock(m_mutex);
            if (m_calls.empty())
                return;
            call = m_calls.front();
            m_calls.pop_front();
        }
        std::exception_ptr error;
        try {
            (*call->fn)();
        } catch (...) {
            error = std::current_exception();
        }
        {
            std::lock_guard lock(m_mutex);
            call->error = error;
            call->done = true;
        }
        m_changed.notify_all();
    }
}

void TSynchronizer::WaitForThread(QThread& thread) {
    if (QThread::currentThread() == &thread)
        return;
    while (!thread.isFinished() && thread.isRunning()) {
        RunWaitingCalls();
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::milliseconds(5), [&] { return !m_calls.empty(); });
    }
    thread.wait();
    RunWaitingCalls();
}
