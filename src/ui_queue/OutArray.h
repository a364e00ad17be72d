#pragma once

#include "ui_queue/OutElement.h"

#include <array>
#include <atomic>
#include <memory>

class QThread;

// The fixed ring of update records between one producer (the worker, or the main thread while it
// talks to the panel itself) and one consumer (the main thread's 50 ms tick). Slots are numbered
// 1 to 1024; head is the oldest pending record, tail the slot the next record goes into; the ring
// is empty when they are equal, so at most 1023 records are pending.
class TOutArray {
  public:
    static constexpr int kSlots = 1024;

    TOutArray();
    ~TOutArray();
    TOutArray(const TOutArray&) = delete;
    TOutArray& operator=(const TOutArray&) = delete;

    // Posting (producer). A full ring makes the producer wait for a free slot; a record is dropped
    // only when the producer is asked to stop while it waits.
    void PostLog(const QString& text, bool show = true, bool stamp = true);
    void PostControl(QWidget* control, const QString& text);
    void PostChecked(QWidget* control, bool flag);
    void PostMenuItem(QAction* item, const QString& text);
    void PostMenuItem(QAction* item, bool enabled) { PostMenuItem(item, enabled ? "true" : "false"); }
    void PostSlider(QWidget* slider, int value, const QString& text);
    void PostMessageBox(const QString& text);
    void PostStatus(const QString& text, QLabel* panel);
    void PostGridCell(QTableWidget* grid, const QString& text, int row, int column);
    void PostColor(QWidget* control, const QColor& colour);

    // The stop request the producer thread honours while it waits on a full ring.
    void SetStopCheck(std::function<bool()> stopRequested);

    // Draining (consumer, main thread).
    std::uint8_t PeekKind() const;
    std::unique_ptr<TOutElement> Take();
    void DrainQueue();
    bool Draining() const { return m_draining; }
    void SetApplyContext(TApplyContext context) { m_context = std::move(context); }

    int Head() const { return m_head.load(std::memory_order_acquire); }
    int Tail() const { return m_tail.load(std::memory_order_acquire); }

    // The local date and time as log lines carry it, then a blank.
    static QString Stamp();

  private:
    void Post(std::unique_ptr<TOutElement> record);
    static int Next(int index) { return index == kSlots ? 1 : index + 1; }

    std::array<TOutElement*, kSlots + 1> m_slots{}; // index 0 unused
    std::atomic<int> m_head{1};                     // written by the consumer only
    std::atomic<int> m_tail{1};                     // written by the producer only
    bool m_draining = false;                        // main thread only
    TApplyContext m_context;                        // main thread only
    // Set by the owner of the producer thread before that thread starts; called by the producer.
    std::function<bool()> m_stopRequested;
};
