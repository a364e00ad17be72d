#include "ui_queue/OutArray.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <thread>

TOutArray::TOutArray() = default;

TOutArray::~TOutArray() {
    while (Take()) {
    }
}

QString TOutArray::Stamp() {
    const QDateTime now = QDateTime::currentDateTime();
    // The short date and long time of the Russian desktop the tool is made for.
    return now.date().toString(QStringLiteral("dd.MM.yyyy")) + QLatin1Char(' ') +
           now.time().toString(QStringLiteral("HH:mm:ss")) + QLatin1Char(' ');
}

void TOutArray::SetStopCheck(std::function<bool()> stopRequested) {
    m_stopRequested = std::move(stopRequested);
}

void TOutArray::Post(std::unique_ptr<TOutElement> record) {
    const int tail = m_tail.load(std::memory_order_relaxed);
    const bool onConsumerThread =
        QCoreApplication::instance() && QThread::currentThread() == QCoreApplication::instance()->thread();
    while (Next(tail) == m_head.load(std::memory_order_acquire)) {
        if (onConsumerThread) {
            // The main thread cannot wait for itself: make room by applying what is pending.
            if (m_draining) {
                qWarning("update queue full inside a drain; record dropped");
                return;
            }
            DrainQueue();
            continue;
        }
        if (m_stopRequested && m_stopRequested())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    m_slots[tail] = record.release();
    m_tail.store(Next(tail), std::memory_order_release);
}

void TOutArray::PostLog(const QString& text, bool show, bool stamp) {
    Post(std::make_unique<TMemoOut>(stamp ? Stamp() + text : text, show));
}

void TOutArray::PostControl(QWidget* control, const QString& text) {
    Post(std::make_unique<TControlOut>(control, text));
}

void TOutArray::PostChecked(QWidget* control, bool flag) {
    PostControl(control, flag ? QStringLiteral("true") : QStringLiteral("false"));
}

void TOutArray::PostMenuItem(QAction* item, const QString& text) {
    Post(std::make_unique<TCompOut>(item, text));
}

void TOutArray::PostSlider(QWidget* slider, int value, const QString& text) {
    Post(std::make_unique<TTriSliderOut>(slider, value, text));
}

void TOutArray::PostMessageBox(const QString& text) {
    Post(std::make_unique<TMsgOut>(text));
}

void TOutArray::PostStatus(const QString& text, QLabel* panel) {
    Post(std::make_unique<TStatusOut>(text, panel));
}

void TOutArray::PostGridCell(QTableWidget* grid, const QString& text, int row, int column) {
    Post(std::make_unique<TOutStringGrid>(grid, row, column, text));
}

void TOutArray::PostColor(QWidget* control, const QColor& colour) {
    Post(std::make_unique<TControlOut>(control, colour));
}

std::uint8_t TOutArray::PeekKind() const {
    const int head = m_head.load(std::memory_order_relaxed);
    if (head == m_tail.load(std::memory_order_acquire))
        return 0;
    return m_slots[head]->Kind;
}

std::unique_ptr<TOutElement> TOutArray::Take() {
    const int head = m_head.load(std::memory_order_relaxed);
    if (head == m_tail.load(std::memory_order_acquire))
        return nullptr;
    std::unique_ptr<TOutElement> record(m_slots[head]);
    m_slots[head] = nullptr;
    m_head.store(Next(head), std::memory_order_release);
    return record;
}

void TOutArray::DrainQueue() {
    // A modal box opened by a record runs an event loop; nothing in it may start a second drain.
    if (m_draining)
        return;
    m_draining = true;
    while (PeekKind() != 0) {
        std::unique_ptr<TOutElement> record = Take();
        try {
            ApplyRecord(*record, m_context);
        } catch (...) {
            // A record that does not suit its target is dropped.
        }
    }
    m_draining = false;
}
