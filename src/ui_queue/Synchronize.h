#pragma once

#include <QObject>

#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

class QThread;
class TOutArray;

// Runs a function on the main thread while the calling thread waits: the only way a worker reads a
// control. Before the function runs the main thread drains the update queue, so a thread reads
// what it posted before. Calls wait while a drain is held by a modal box; they are served again
// when the drain ends (the tick calls ServePending).
class TSynchronizer : public QObject {
  public:
    explicit TSynchronizer(TOutArray& queue, QObject* parent = nullptr);

    // Any thread. On the main thread fn runs at once. An exception of fn reaches the caller.
    void Synchronize(const std::function<void()>& fn);

    // Main thread: drain the queue unless a drain is running, then run every waiting call.
    void ServePending();

    // Main thread: wait until thread has ended, serving Synchronize calls and nothing else
    // meanwhile (no drain, so no queued click can re-enter the caller).
    void WaitForThread(QThread& thread);

  private:
    struct Call {
        const std::function<void()>* fn;
        bool done = false;
        std::exception_ptr error;
    };

    void RunWaitingCalls();
    void WakeMainThread();

    TOutArray& m_queue;
    std::mutex m_mutex;                // guards m_calls and each Call's done/error
    std::condition_variable m_changed; // a call was added or finished
    std::deque<Call*> m_calls;
};
