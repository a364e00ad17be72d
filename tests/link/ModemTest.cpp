#include "link/Modem.h"

#include "support/PtyPeer.h"
#include "support/QueueLog.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/Synchronize.h"
#include "widgets/Panel.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

// A worker on the far end of a scripted pty, its primitives called from the test thread.
struct LinkFixture : ::testing::Test {
    PtyPeer peer;
    TOutArray queue;
    TSynchronizer sync{queue};
    TPanel statusLine;
    TModem modem{peer.SlavePath(), [](std::uint8_t) {}, queue, sync, {&statusLine, nullptr}};

    void SetUp() override {
        modem.OpenPort();
        ASSERT_TRUE(modem.PortOpen());
        TakeLogLines(queue);
    }

    // Answers the next command line with `reply` once it has arrived.
    std::thread Answer(QByteArray reply) {
        return std::thread([this, reply] {
            peer.ReadUntil("\r", 3000);
            if (!reply.isEmpty())
                peer.Write(reply);
        });
    }
};

} // namespace

TEST(LinkOpen, PortThatCannotBeOpenedEndsTheWorkerWithoutSending) {
    TOutArray queue;
    TSynchronizer sync(queue);
    TPanel statusLine;
    std::vector<std::uint8_t> operations;
    TModem modem("/dev/orvel-no-such-port", [&](std::uint8_t code) { operations.push_back(code); }, queue,
                 sync, {&statusLine, nullptr});
    modem.start();
    sync.WaitForThread(modem);
    const QStringList lines = TakeLogLines(queue);
    ASSERT_EQ(lines.size(), 3) << lines.join('\n').toStdString();
    EXPECT_EQ(lines[0], " # Поток начал работу");
    EXPECT_TRUE(lines[1].startsWith(" # !!! Ошибка открытия COM порта: ")) << lines[1].toStdString();
    EXPECT_GT(lines[1].size(), QString(" # !!! Ошибка открытия COM порта: ").size()); // the system's reason
    EXPECT_EQ(lines[2], " # Поток завершил работу");
    EXPECT_EQ(statusLine.text(), "Ошибка при открытии COM порта: /dev/orvel-no-such-port");
    EXPECT_TRUE(operations.empty()); // not even the reboot
}

TEST_F(LinkFixture, SilentPanelGetsEveryAttemptLogged) {
    QString reply;
    const bool failed = modem.SendCommand("+o", reply, 0, true, true, "OK", 100, 3);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(reply.isEmpty());
    const QStringList lines = TakeLogLines(queue);
    EXPECT_EQ(lines, (QStringList{"-> com: +o", " # Попытка № 1", "<- com:  ", " # Попытка № 2",
                                  "<- com:  ", " # Попытка № 3", "<- com:  "}));
    EXPECT_EQ(peer.ReadAvailable(100), "+o\r+o\r+o\r");
}

TEST_F(LinkFixture, NonStrictPartialReplyOfTheLastAttemptCounts) {
    auto panel = Answer("12");
    QString reply;
    EXPECT_FALSE(modem.SendCommand("+o", reply, 0, true, false, "OK", 200, 1));
    panel.join();
    EXPECT_EQ(reply, "12");
    // Strict, the same reply fails.
    panel = Answer("12");
    EXPECT_TRUE(modem.SendCommand("+o", reply, 0, true, true, "OK", 200, 1));
    panel.join();
}

TEST_F(LinkFixture, EchoIsRemoved) {
    auto panel = Answer("+o\r0050\rOK\r");
    QString reply;
    EXPECT_FALSE(modem.SendCommand("+o", reply, 0, true, true, "OK", 1000, 3));
    panel.join();
    EXPECT_EQ(reply, "\r0050\rOK\r");
    const QStringList lines = TakeLogLines(queue);
    EXPECT_EQ(lines, (QStringList{"-> com: +o", " # Попытка № 1", "<- com:  +o\r0050\rOK\r"}));
}

TEST_F(LinkFixture, TerminatorIgnoresCaseButWordsDoNot) {
    auto panel = std::thread([this] { peer.Write("value OK\r"); });
    QString reply;
    EXPECT_TRUE(modem.ReadUntil(reply, 1000, "ok"));
    panel.join();
    EXPECT_EQ(reply, "value OK\r");

    peer.Write("ok err ign\r");
    EXPECT_FALSE(modem.ReadUntilAny(reply, {"OK", "ERR", "IGN"}, 150));
    EXPECT_EQ(reply, "ok err ign\r"); // what came stays in the reply
    peer.Write("IGN\r");
    EXPECT_TRUE(modem.ReadUntilAny(reply, {"OK", "ERR", "IGN"}, 1000));
}

TEST_F(LinkFixture, WaitReplyIgnoresTheStopRequest) {
    modem.RequestStop();
    peer.Write("+qt\rOK\r");
    QString reply;
    EXPECT_TRUE(modem.WaitReply(reply, 600, "OK"));
    EXPECT_FALSE(modem.ReadUntil(reply, 600, "OK"));
}

TEST_F(LinkFixture, NoCarrierBetweenCommandsEndsTheConnectionAtTheNextFlush) {
    peer.Write("NO CARRIER\r");
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(modem.StopRequested());
    modem.FlushInput();
    EXPECT_TRUE(modem.StopRequested());
    const QStringList lines = TakeLogLines(queue);
    EXPECT_EQ(lines, (QStringList{"(hidden) <<<<- NO CARRIER\r", "ОШИБКА! Цифровое соединение разорвано!"}));
    // Nothing is sent any more.
    QString reply;
    EXPECT_TRUE(modem.SendCommand("+o", reply, 0, true, true, "OK", 100, 3));
    EXPECT_TRUE(peer.ReadAvailable(50).isEmpty());
}

TEST_F(LinkFixture, CheckReplyClassifiesLinkLossBeforeErrors) {
    struct Case {
        const char* reply;
        TReplyCheck code;
        bool stops;
    };
    for (const Case& c : {Case{"0050\rOK\r", ReplyClean, false}, Case{"ERR\r", ReplyClean, false},
                          Case{"IGN\r", ReplyClean, false}, Case{"ERROR\rOK\r", ReplyError, false},
                          Case{"error\r", ReplyClean, false}, Case{"BUSY ERROR", LinkLost, true},
                          Case{"DISCONNECT", LinkLost, true}}) {
        TModem fresh(
            peer.SlavePath(), [](std::uint8_t) {}, queue, sync);
        EXPECT_EQ(fresh.CheckReply(c.reply), c.code) << c.reply;
        EXPECT_EQ(fresh.StopRequested(), c.stops) << c.reply;
    }
}

TEST_F(LinkFixture, LampTestStyleExchangeTakesTheLineAfterTheEcho) {
    auto panel = Answer("+t\rOK\r");
    QString reply;
    EXPECT_FALSE(modem.SendCommand("+t", reply, 0, true, false, QString(), 500, 1));
    panel.join();
    EXPECT_EQ(reply, "\rOK\r");
}

TEST_F(LinkFixture, LineHangUpIsASerialErrorThatStopsTheWorker) {
    peer.Close();
    modem.FlushInput();
    EXPECT_TRUE(modem.StopRequested());
    const QStringList lines = TakeLogLines(queue);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_TRUE(lines.last().startsWith(" # !!! Ошибка при чтении данных из COM порта: "));
}
