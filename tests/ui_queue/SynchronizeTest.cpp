#include "ui_queue/Synchronize.h"

#include "ui_queue/OutArray.h"

#include <QEventLoop>
#include <QLineEdit>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

TEST(Synchronize, WorkerInSynchronizeDoesNotDeadlockAMainThreadWaitingForIt) {
    TOutArray queue;
    TSynchronizer sync(queue);
    QLineEdit edit("value");
    QString read;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        QThread::msleep(30); // the main thread is already waiting
        sync.Synchronize([&] { read = edit.text(); });
    }));
    worker->start();
    sync.WaitForThread(*worker);
    EXPECT_TRUE(worker->isFinished());
    EXPECT_EQ(read, "value");
}

TEST(Synchronize, ReadSeesWhatTheThreadPostedBefore) {
    TOutArray queue;
    TSynchronizer sync(queue);
    QLineEdit edit;
    QString read;
    std::unique_ptr<QThread> worker(QThread::create([&] {
        queue.PostControl(&edit, "posted");
        sync.Synchronize([&] { read = edit.text(); });
    }));
    QEventLoop loop;
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
    EXPECT_EQ(read, "posted");
}

TEST(Synchronize, ExceptionReachesTheCallingThread) {
    TOutArray queue;
    TSynchronizer sync(queue);
    std::atomic<bool> caught{false};
    std::unique_ptr<QThread> worker(QThread::create([&] {
        try {
            sync.Synchronize([] { throw std::runtime_error("boom"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    }));
    worker->start();
    sync.WaitForThread(*worker);
    EXPECT_TRUE(caught.load());
}
