#include "ui_queue/OutArray.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

struct RingFixture : ::testing::Test {
    TOutArray queue;
    QPlainTextEdit memo;
    void SetUp() override { queue.SetApplyContext({&memo, nullptr, {}}); }
};

} // namespace

TEST_F(RingFixture, AppliesRecordsInPostingOrder) {
    QPushButton button;
    queue.PostLog("first", true, false);
    queue.PostControl(&button, "false");
    queue.PostControl(&button, "true");
    queue.PostLog("hidden", false, false);
    queue.PostLog("second", true, false);
    queue.DrainQueue();
    EXPECT_TRUE(button.isEnabled());                // "false" then "true" leaves it enabled
    EXPECT_EQ(memo.toPlainText(), "first\nsecond"); // the hidden line never shows
    EXPECT_EQ(queue.PeekKind(), 0);
}

TEST_F(RingFixture, StampedLinesStartWithDateAndTime) {
    queue.PostLog("text", true, true);
    queue.DrainQueue();
    const QString line = memo.toPlainText();
    EXPECT_TRUE(line.endsWith(" text"));
    EXPECT_TRUE(line.startsWith(TOutArray::Stamp().left(8)));
}

TEST_F(RingFixture, ComboIndexOutOfRangeSelectsNothing) {
    QComboBox combo;
    combo.addItems({"a", "b", "c"});
    combo.setCurrentIndex(1);
    struct Case {
        const char* text;
        int index;
    };
    for (const Case& c : {Case{"2", 2}, Case{"7", -1}, Case{"x", -1}, Case{"0", 0}, Case{"-1", -1}}) {
        queue.PostControl(&combo, c.text);
        queue.DrainQueue();
        EXPECT_EQ(combo.currentIndex(), c.index) << c.text;
    }
}

TEST_F(RingFixture, TreeRecordSelectsNodeByPositionAndRunsChangeHandler) {
    QTreeWidget tree;
    for (const char* text : {"zero", "one", "two", "three", "four"})
        new QTreeWidgetItem(&tree, QStringList{text});
    QString changedTo;
    QObject::connect(&tree, &QTreeWidget::currentItemChanged,
                     [&](QTreeWidgetItem* item, QTreeWidgetItem*) { changedTo = item->text(0); });
    queue.PostControl(&tree, "3");
    queue.PostControl(&tree, "99"); // out of range: ignored
    queue.PostControl(&tree, "false");
    queue.DrainQueue();
    EXPECT_EQ(changedTo, "three");
    EXPECT_EQ(tree.currentItem()->text(0), "three");
    EXPECT_FALSE(tree.isEnabled());
}

TEST_F(RingFixture, MessageBoxHoldsLaterRecordsUntilClosed) {
    queue.PostLog("before", true, false);
    queue.PostMessageBox("Чтение всех параметров завершено!");
    queue.PostLog("after", true, false);
    QString seenWhileOpen;
    QString boxText;
    QTimer::singleShot(50, [&] {
        seenWhileOpen = memo.toPlainText();
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            // A second drain while the box is open must not apply anything.
            queue.DrainQueue();
            seenWhileOpen += "|" + memo.toPlainText();
            box->accept();
        }
    });
    queue.DrainQueue();
    EXPECT_EQ(boxText, "Чтение всех параметров завершено!");
    EXPECT_EQ(seenWhileOpen, "before|before");
    EXPECT_EQ(memo.toPlainText(), "before\nafter");
}

TEST_F(RingFixture, IndicesWrapBackToOne) {
    for (int i = 0; i < TOutArray::kSlots; ++i) {
        queue.PostLog(QString::number(i), false, false);
        auto record = queue.Take();
        ASSERT_TRUE(record);
        EXPECT_EQ(static_cast<TMemoOut&>(*record).Text, QString::number(i));
    }
    EXPECT_EQ(queue.Head(), 1);
    EXPECT_EQ(queue.Tail(), 1);
    EXPECT_EQ(queue.Take(), nullptr);
}

TEST_F(RingFixture, FullRingMakesProducerWaitAndLosesNothing) {
    constexpr int kRecords = 5000; // several times the ring
    std::atomic<bool> producerDone{false};
    std::thread producer([&] {
        for (int i = 0; i < kRecords; ++i)
            queue.PostLog(QString::number(i), false, false);
        producerDone = true;
    });
    // Let the producer fill the ring before anything is taken.
    while (queue.Tail() != TOutArray::kSlots)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(producerDone.load());
    int expected = 0;
    while (expected < kRecords) {
        if (auto record = queue.Take()) {
            ASSERT_EQ(static_cast<TMemoOut&>(*record).Text, QString::number(expected));
            ++expected;
        } else {
            std::this_thread::yield();
        }
    }
    producer.join();
    EXPECT_EQ(queue.PeekKind(), 0);
}

TEST_F(RingFixture, WaitingProducerGivesUpWhenAskedToStop) {
    std::atomic<bool> stop{false};
    std::thread producer([&] {
        queue.SetStopCheck([&] { return stop.load(); });
        for (int i = 0; i < TOutArray::kSlots + 10; ++i)
            queue.PostLog(QString::number(i), false, false);
    });
    while (queue.Tail() != TOutArray::kSlots)
        std::this_thread::yield();
    stop = true;
    producer.join();
    // The 1023 pending records are all still there, in order.
    for (int i = 0; i < TOutArray::kSlots - 1; ++i) {
        auto record = queue.Take();
        ASSERT_TRUE(record);
        ASSERT_EQ(static_cast<TMemoOut&>(*record).Text, QString::number(i));
    }
    EXPECT_EQ(queue.Take(), nullptr);
}
