#include "protocol/DevOrvel.h"

#include "link/Modem.h"
#include "support/PtyPeer.h"
#include "support/QueueLog.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/StatusColour.h"
#include "ui_queue/Synchronize.h"

#include <QLabel>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <thread>

TEST(StripReply, ValueIsTheLastLineBeforeTheFirstOk) {
    struct Case {
        const char* raw;
        const char* value;
    };
    const QString longLine(300, QLatin1Char('x'));
    for (const Case& c : {
             Case{"\r0050\rOK\r", "0050"},
             Case{"OK\r", ""},
             Case{"no terminator", ""},
             Case{"\rfirst\r  second \r\rOK\r", "  second"}, // blanks at the start of the last line stay
             Case{"\rBOOK 12\rOK\r", "BO"},                  // a value holding "OK" ends before it
             Case{"ok\r", ""},                               // case counts
             Case{"9:5:3 1/2/11\rOK", "9:5:3 1/2/11"},
         }) {
        EXPECT_EQ(StripReply(c.raw), c.value) << c.raw;
    }
    EXPECT_EQ(StripReply("\r" + longLine + "\rOK"), longLine);            // a first line is not cut
    EXPECT_EQ(StripReply("a\r" + longLine + "\rOK"), longLine.left(255)); // a following line is
}

TEST(SpacesToZeros, BlanksBecomeZeros) {
    EXPECT_EQ(SpacesToZeros(" 1 . 2 "), "010.020");
}

TEST(VersionNumbers, TakenAfterTheFirstDotAndAtTheEnd) {
    struct Case {
        const char* text;
        bool ok;
        int major;
        int minor;
    };
    for (const Case& c : {Case{"ORVEL11 v.002.005", true, 2, 5}, Case{"v.123.456", true, 123, 456},
                          Case{"0070017", true, 7, 17}, Case{"ORVEL11 v.0a2.005", false, 0, 0},
                          Case{"v.002.0x5", false, 0, 0}, Case{"ab", false, 0, 0}}) {
        const auto numbers = ParseVersionNumbers(c.text);
        ASSERT_EQ(numbers.has_value(), c.ok) << c.text;
        if (numbers) {
            EXPECT_EQ(numbers->major, c.major) << c.text;
            EXPECT_EQ(numbers->minor, c.minor) << c.text;
        }
    }
}

namespace {

// The protocol object on a worker whose port is the test's pty; routines run on the test thread.
struct ExchangeFixture : ::testing::Test {
    PtyPeer peer;
    TOutArray queue;
    TSynchronizer sync{queue};
    TDevOrvel device{queue, sync};
    TModem modem{peer.SlavePath(), [this](std::uint8_t code) { device.RunOperation(code); }, queue, sync};
    QLabel label;
    QLineEdit field;

    void SetUp() override {
        device.SetWorker(&modem);
        modem.OpenPort();
        TakeLogLines(queue);
    }
    void TearDown() override { device.SetWorker(nullptr); }

    // Answers each of the next command lines with the matching reply.
    std::thread Script(std::vector<QByteArray> replies) {
        return std::thread([this, replies] {
            for (const QByteArray& reply : replies) {
                if (peer.ReadUntil("\r", 6000).isEmpty())
                    return;
                peer.Write(reply);
            }
        });
    }
    QStringList SentLines() {
        peer.ReadAvailable(50);
        QStringList lines = QString::fromLatin1(peer.Received()).split('\r');
        lines.removeAll(QString());
        return lines;
    }
};

} // namespace

TEST_F(ExchangeFixture, RequestOnSilentPanelMakesEveryAttemptAsItsOwnExchange) {
    QString reply = "stale";
    EXPECT_FALSE(device.Request("+v", reply, 0, true, "OK\r", 150, 6));
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_EQ(SentLines(), QStringList(6, "+v"));
    EXPECT_EQ(TakeLogLines(queue).filter("-> com: +v").size(), 6);
}

TEST_F(ExchangeFixture, RequestStripsTheValue) {
    auto panel = Script({"+o\r0050\rOK\r"});
    QString reply;
    EXPECT_TRUE(device.Request("+o", reply));
    panel.join();
    EXPECT_EQ(reply, "0050");
}

TEST_F(ExchangeFixture, ErrorReplySetsAbortedAndTheNextAttemptIsStillSent) {
    auto panel = Script({"+o\rERROR\rOK\r", "+o\r0050\rOK\r"});
    QString reply;
    EXPECT_TRUE(device.Request("+o", reply));
    panel.join();
    EXPECT_EQ(reply, "0050");
    EXPECT_TRUE(device.Aborted.load());
    EXPECT_EQ(SentLines(), QStringList(2, "+o"));
}

TEST_F(ExchangeFixture, ReadNumberFieldConvertsHexToDecimal) {
    struct Case {
        QByteArray reply;
        const char* field;
        QColor label;
    };
    for (const Case& c :
         {Case{"+AA\r1E\rOK\r", "30", kStatusBlue}, Case{"+AA\rOK\r", "0", kStatusBlue},
          Case{"+AA\rXY\rOK\r", "keep", kStatusRed}, Case{"+AA\rERROR\rOK\r", "keep", kStatusRed}}) {
        field.setText("keep");
        auto panel = Script({c.reply});
        device.ReadNumberField(&field, "+AA", &label);
        panel.join();
        queue.DrainQueue();
        EXPECT_EQ(field.text(), c.field) << c.reply.constData();
        EXPECT_EQ(StatusColour(&label), c.label) << c.reply.constData();
    }
}

TEST_F(ExchangeFixture, WriteNumberFieldSendsUpperCaseHexWithTheDigitsAsked) {
    struct Case {
        const char* text;
        const char* command;
    };
    for (const Case& c : {Case{"30", "+AA=1E"}, Case{"300", "+AA=12C"}, Case{"5", "+AA=05"}}) {
        field.setText(c.text);
        auto panel = Script({QByteArray(c.command) + "\rOK\r"});
        device.WriteNumberField(&field, "+AA=", 2, &label);
        panel.join();
        queue.DrainQueue();
        EXPECT_EQ(SentLines().last(), c.command);
        EXPECT_EQ(StatusColour(&label), kStatusBlue) << c.text;
        EXPECT_EQ(field.text(), c.text);
    }
}

TEST_F(ExchangeFixture, WriteNumberFieldWithTextThatIsNoNumberSendsNothing) {
    field.setText("abc");
    device.WriteNumberField(&field, "+AA=", 2, &label);
    queue.DrainQueue();
    EXPECT_EQ(StatusColour(&label), kStatusRed);
    EXPECT_TRUE(peer.ReadAvailable(100).isEmpty());
}

TEST_F(ExchangeFixture, QueryFieldColoursTheLabel) {
    auto panel = Script({"+o\r0050\rOK\r", "+o\rERROR\rOK\r"});
    QString reply;
    EXPECT_EQ(device.QueryField("+o", &label, reply), "0050");
    queue.DrainQueue();
    EXPECT_EQ(StatusColour(&label), kStatusBlue);
    EXPECT_EQ(device.QueryField("+o", &label, reply), "");
    panel.join();
    queue.DrainQueue();
    EXPECT_EQ(StatusColour(&label), kStatusRed);
    EXPECT_FALSE(device.Aborted.load()); // label routines never touch the abort flag
}

TEST_F(ExchangeFixture, RequestQuietRetriesErrorsWithoutAborting) {
    auto panel = Script({"+p\rERROR\rOK\r", "+p\r01\rOK\r"});
    QString reply;
    EXPECT_TRUE(device.RequestQuiet("+p", reply));
    panel.join();
    EXPECT_EQ(reply, "01");
    EXPECT_FALSE(device.Aborted.load());
}

TEST_F(ExchangeFixture, NothingIsSentAfterALinkLoss) {
    auto panel = Script({"+o\rNO CARRIER\rOK\r"});
    QString reply;
    EXPECT_FALSE(device.Request("+o", reply));
    panel.join();
    EXPECT_TRUE(modem.StopRequested());
    peer.ReadAvailable(50);
    const QByteArray before = peer.Received();
    field.setText("30");
    EXPECT_FALSE(device.Request("+v", reply));
    EXPECT_TRUE(device.QueryField("+o", &label, reply).isEmpty());
    EXPECT_FALSE(device.RequestQuiet("+o", reply));
    device.ReadNumberField(&field, "+AA", &label);
    device.WriteNumberField(&field, "+AA=", 2, &label);
    EXPECT_TRUE(peer.ReadAvailable(100).isEmpty());
    EXPECT_EQ(peer.Received(), before);
}
