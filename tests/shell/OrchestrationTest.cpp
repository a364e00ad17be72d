#include "history/f_history.h"
#include "link/Modem.h"
#include "pages/f_common.h"
#include "protocol/DevOrvel.h"
#include "support/WindowFixture.h"

#include <QEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// Counts how often a widget's enabled state changes.
struct EnableChanges : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::EnabledChange;
        return false;
    }
};

class Orchestration : public WindowFixture {
  protected:
    void SetUp() override {
        WindowFixture::SetUp();
        ASSERT_EQ(Connect(), "СОЕДИНЕНИЕ УСТАНОВЛЕНО");
        QObject::connect(form->tv1, &QTreeWidget::currentItemChanged,
                         [this](QTreeWidgetItem* node, QTreeWidgetItem*) {
                             visited.push_back(form->tv1->indexOfTopLevelItem(node));
                         });
    }
    // Accepts the closing message box and remembers its text.
    void ExpectMessageBox(ModalScript& script) {
        script.Then([](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                    [this](QWidget* modal) {
                        boxText = static_cast<QMessageBox*>(modal)->text();
                        static_cast<QMessageBox*>(modal)->accept();
                    });
    }
    std::vector<int> visited;
    QString boxText;
};

} // namespace

TEST_F(Orchestration, ReadAllShowsEveryPageInTurnAndEndsOnTheCommonPage) {
    ModalScript script;
    ExpectMessageBox(script);
    form->tbtnReadAllClick();
    WaitForIdle();
    EXPECT_TRUE(WaitUntil([&] { return script.Finished(); }));
    EXPECT_EQ(boxText, "Чтение всех параметров завершено!");
    // The walk starts on the node already selected, so the first change is to node 1.
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0}));
    EXPECT_EQ(form->ShownPage(), form->formCommon);
    EXPECT_EQ(form->tv1->currentItem()->text(0), "Общие настройки");
    EXPECT_TRUE(form->tv1->isEnabled());
    EXPECT_TRUE(form->tbtnRead->isEnabled());
    EXPECT_FALSE(form->Device().BulkMode.load());
    EXPECT_TRUE(form->Memo1->toPlainText().contains("-> com: +yt")); // the common page was read
}

TEST_F(Orchestration, WriteAllNeverWritesTheHistoryPage) {
    ModalScript script;
    ExpectMessageBox(script);
    form->tbtnWriteAllClick();
    WaitForIdle();
    EXPECT_TRUE(WaitUntil([&] { return script.Finished(); }));
    EXPECT_EQ(boxText, "Запись всех параметров завершена!");
    EXPECT_EQ(visited, (std::vector<int>{1, 2, 3, 4, 5, 6, 0}));
    EXPECT_EQ(panel->WithState([](const sim::PanelState& s) { return s.objectNumber; }), "0050");
}

TEST_F(Orchestration, CancelStopsAWalkWithoutTheMessageBox) {
    panel->SetFault("+AC", sim::Fault::Trickle);
    bool boxShown = false;
    ModalScript script;
    script.Then([](QWidget* modal) { return qobject_cast<QMessageBox*>(modal) != nullptr; },
                [&](QWidget* modal) {
                    boxShown = true;
                    static_cast<QMessageBox*>(modal)->accept();
                });
    form->tbtnReadAllClick();
    ASSERT_TRUE(WaitForCommand("+AC"));
    Pump(100);
    EXPECT_FALSE(form->tv1->isEnabled()); // locked while the walk runs
    form->tbtnCalcelClick();
    EXPECT_TRUE(WaitUntil([&] { return form->Worker()->CurrentOperation() == OpIdle; }, 10000));
    Pump(300);
    EXPECT_FALSE(boxShown);
    EXPECT_TRUE(visited.empty()); // the walk stopped on its first page
    EXPECT_EQ(form->ShownPage(), form->formCommon);
    EXPECT_TRUE(form->tv1->isEnabled());
    EXPECT_TRUE(form->tbtnReadAll->isEnabled());
    for (const std::string& command : Commands())
        EXPECT_NE(command, "+FMR"); // nothing after the cancelled step
}

TEST_F(Orchestration, WritePageOnTheHistoryPageSendsNothing) {
    form->ShowPage(form->formHistory);
    panel->ClearReceived();
    EnableChanges changes;
    form->tv1->installEventFilter(&changes);
    form->tbtnWriteClick();
    WaitForIdle();
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(changes.count, 2); // locked, then unlocked
    EXPECT_TRUE(form->tv1->isEnabled());
    EXPECT_TRUE(form->tbtnWrite->isEnabled());
}

TEST_F(Orchestration, ReadPageClearsTheShownPageFirst) {
    form->formCommon->etTime->setText("stale");
    panel->SetFault("+AC", sim::Fault::Trickle);
    form->tbtnReadClick();
    EXPECT_EQ(form->formCommon->etTime->text(), ""); // the clear rule ran before the read
    form->tbtnCalcelClick();
    WaitForIdle();
}
