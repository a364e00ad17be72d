#include "PanelFixture.h"
#include "sim/Commands.h"

#include <regex>

namespace {

using sim::PanelState;

TEST_F(PanelTest, ReadsAnswerEchoValueAndOk) {
    panel.WithState([](PanelState& s) {
        s.clock = "9:5:3 1/2/11";
        s.liveReadings = {100, 500, 0xABCD};
        s.siren = true;
        s.alarmButtonMode = '2';
    });
    const struct {
        const char* command;
        const char* reply;
    } cases[] = {
        {"+v", "+v\rORVEL11 v.002.005\rOK\r"},
        {"+o", "+o\r0050\rOK\r"},
        {"+AC", "+AC\r9:5:3 1/2/11\rOK\r"},
        {"+FMR", "+FMR\r6183\rOK\r"},
        {"+C", "+C\r2\rOK\r"},
        {"+yt", "+yt\r1\rOK\r"},
        {"+c0", "+c0\r0064\rOK\r"},
        {"+c1", "+c1\r01F4\rOK\r"},
        {"+c2", "+c2\rABCD\rOK\r"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(client.Ask(c.command), c.reply) << c.command;
}

TEST_F(PanelTest, UnsetClockAnswersLocalTimeWithoutLeadingZeros) {
    const std::string reply = client.Ask("+AC");
    const std::regex form(
        "\\+AC\r([1-9]?\\d):([1-9]?\\d):([1-9]?\\d) ([1-9]\\d?)/([1-9]\\d?)/([1-9]?\\d)\rOK\r");
    EXPECT_TRUE(std::regex_match(reply, form)) << sim::Printable(reply);
}

TEST(PanelClock, FormatsWithoutLeadingZerosAndTwoDigitYear) {
    std::tm early{};
    early.tm_hour = 9, early.tm_min = 5, early.tm_sec = 3, early.tm_mday = 1, early.tm_mon = 1,
    early.tm_year = 111;
    EXPECT_EQ(sim::FormatPanelClock(early), "9:5:3 1/2/11");
    std::tm late{};
    late.tm_hour = 23, late.tm_min = 59, late.tm_sec = 7, late.tm_mday = 31, late.tm_mon = 11,
    late.tm_year = 109;
    EXPECT_EQ(sim::FormatPanelClock(late), "23:59:7 31/12/9");
}

TEST_F(PanelTest, WritesAreStoredAndReadBack) {
    const struct {
        const char* write;
        const char* read;
        const char* value;
    } cases[] = {
        {"+o=12AB", "+o", "12AB"}, {"+FMW=0427", "+FMR", "0427"}, {"+C=1", "+C", "1"},
        {"+C=2", "+C", "2"},       {"+yt=1", "+yt", "1"},         {"+yt=0", "+yt", "0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(client.Ask(c.write), std::string(c.write) + "\rOK\r");
        EXPECT_EQ(client.Ask(c.read), std::string(c.read) + "\r" + c.value + "\rOK\r");
    }
    panel.WithState([](const PanelState& s) {
        EXPECT_EQ(s.objectNumber, "12AB");
        EXPECT_EQ(s.masterKey, "0427");
        EXPECT_EQ(s.alarmButtonMode, '2');
        EXPECT_FALSE(s.siren);
    });
}

TEST_F(PanelTest, RefusedCommandsAnswerErrorAndChangeNothing) {
    const auto before = Settings();
    const char* cases[] = {
        "+o=123",
        "+o=12345",
        "+o=12G4",
        "+o=",
        "+FMW=12a4",
        "+FMW=123",
        "+FMW=12345",
        "+FMW",
        "+FMR=1234",
        "+C=3",
        "+C=",
        "+C=00",
        "+yt=2",
        "+yt=",
        "+yt=on",
        "+AD1A=x",
        "+AD0a=x",
        "+AD5=x",
        "+AD123=x",
        "+AD05",
        "+AD=x",
        "+v=1",
        "+AC=1:2:3 4/5/6",
        "+c3",
        "+zz",
        "+id",
        "+sp=1",
        "+rb=1",
        "+FH=1",
        "+",
        "+O",
    };
    for (const char* command : cases)
        EXPECT_EQ(client.Ask(command, "ERROR\r"), std::string(command) + "\rERROR\r") << command;
    EXPECT_EQ(Settings(), before);
}

TEST_F(PanelTest, TextSlotsKeepTheirBytes) {
    const struct {
        const char* slot;
        std::size_t index;
        std::string text;
    } cases[] = {
        {"00", 0, "\xCF\xEE\xE6\xE0\xF0"},
        {"0C", 12, "\xD2\xF0\xE5\xE2\xEE\xE3\xE0 \xEF\xEE \xE7\xEE\xED\xE5"},
        {"19", 25, "a=b \x01\xFF"},
        {"13", 19, ""},
    };
    for (const auto& c : cases) {
        const std::string command = std::string("+AD") + c.slot + "=" + c.text;
        EXPECT_EQ(client.Ask(command), command + "\rOK\r");
    }
    panel.WithState([&](const PanelState& s) {
        for (const auto& c : cases)
            EXPECT_EQ(s.texts[c.index], c.text) << c.slot;
        EXPECT_EQ(s.textWriteCount, 4);
    });
}

TEST_F(PanelTest, LinesNotStartingWithPlusGetNoAnswer) {
    client.Write("[\r[\r[\r");
    EXPECT_EQ(client.Ask("+sp"), "+sp\rOK\r");
    EXPECT_EQ(client.ReadFor(100), "");
    EXPECT_EQ(panel.Received(), (std::vector<std::string>{"[", "[", "[", "+sp"}));
    EXPECT_EQ(panel.ReceivedBytes(), "[\r[\r[\r+sp\r");
}

TEST_F(PanelTest, StopAnswersPendingEventOnce) {
    panel.WithState([](PanelState& s) { s.pendingEvent = "ALARM 1301"; });
    EXPECT_EQ(client.Ask("+sp"), "+sp\rALARM 1301\rOK\r");
    EXPECT_EQ(client.Ask("+sp"), "+sp\rOK\r");
    panel.WithState([](const PanelState& s) {
        EXPECT_TRUE(s.stopped);
        EXPECT_TRUE(s.pendingEvent.empty());
        EXPECT_EQ(s.stopCount, 2);
    });
}

TEST_F(PanelTest, ServiceCommandsChangeRunState) {
    EXPECT_EQ(client.Ask("+id=6183"), "+id=6183\rOK\r");
    EXPECT_EQ(client.Ask("+sp"), "+sp\rOK\r");
    EXPECT_TRUE(panel.WithState([](const PanelState& s) { return s.stopped; }));
    EXPECT_EQ(client.Ask("+qt"), "+qt\rOK\r");
    EXPECT_FALSE(panel.WithState([](const PanelState& s) { return s.stopped; }));
    EXPECT_EQ(client.Ask("+t"), "+t\rOK\r");
    EXPECT_EQ(client.Ask("+sp"), "+sp\rOK\r");
    EXPECT_EQ(client.Ask("+rb"), "+rb\rOK\r");
    panel.WithState([](const PanelState& s) {
        EXPECT_FALSE(s.loggedIn);
        EXPECT_FALSE(s.stopped);
        EXPECT_EQ(s.rebootCount, 1);
        EXPECT_EQ(s.lampTestCount, 1);
        EXPECT_EQ(s.startCount, 1);
        EXPECT_EQ(s.commandCounts.at("sp"), 2);
    });
}

TEST_F(PanelTest, EraseAnswersOkAfterItsDelay) {
    panel.WithState([](PanelState& s) { s.eraseDelay = std::chrono::milliseconds(200); });
    EXPECT_EQ(client.Ask("+FH"), "+FH\rOK\r");
    EXPECT_TRUE(panel.WithState([](const PanelState& s) { return s.historyErased; }));
}

TEST(PanelErase, LongEraseShowsOnlyTheEchoAndDoesNotHoldUpShutdown) {
    sim::Panel panel;
    panel.WithState([](sim::PanelState& s) { s.eraseDelay = std::chrono::minutes(10); });
    SimClient client(panel.PortPath());
    EXPECT_EQ(client.Ask("+FH", "+FH\r"), "+FH\r");
    EXPECT_EQ(client.ReadFor(200), "");
    EXPECT_TRUE(panel.WithState([](const sim::PanelState& s) { return s.historyErased; }));
    // Leaving the scope must interrupt the ten-minute wait.
}

TEST(PanelEcho, OffSendsOnlyTheReply) {
    sim::Options options;
    options.echo = false;
    sim::Panel panel(options);
    SimClient client(panel.PortPath());
    EXPECT_EQ(client.Ask("+o"), "0050\rOK\r");
    EXPECT_EQ(client.Ask("+o=0A0B"), "OK\r");
    EXPECT_EQ(client.Ask("+zz", "ERROR\r"), "ERROR\r");
}

TEST(PanelPace, PacedRepliesArriveWhole) {
    sim::Options options;
    options.pace = true;
    sim::Panel panel(options);
    SimClient client(panel.PortPath());
    EXPECT_EQ(client.Ask("+v"), "+v\rORVEL11 v.002.005\rOK\r");
    EXPECT_EQ(client.Ask("+o=0A0B"), "+o=0A0B\rOK\r");
}

TEST_F(PanelTest, OverlongLineAnswersErrorAndThePanelGoesOn) {
    const std::string line = "+AD00=" + std::string(70000, 'A');
    const std::string reply = client.Ask(line, "ERROR\r", 20000);
    EXPECT_TRUE(reply.ends_with("\rERROR\r"));
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
    EXPECT_TRUE(panel.WithState([](const PanelState& s) { return s.texts[0].empty(); }));
}

} // namespace
