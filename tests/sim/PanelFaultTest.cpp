#include "PanelFixture.h"

namespace {

using sim::Fault;
using sim::PanelState;

std::string ObjectNumber(sim::Panel& panel) {
    return panel.WithState([](const PanelState& s) { return s.objectNumber; });
}

TEST_F(PanelTest, EachFaultKindAnswersAsDescribed) {
    const std::string garbage = "+o=1234\r" + std::string(sim::kGarbageBytes);
    const struct {
        Fault fault;
        std::string reply; // empty: nothing at all
        bool applied;      // the write still took place
    } cases[] = {
        {Fault::Silence, "", false},
        {Fault::Error, "+o=1234\rERROR\rOK\r", false},
        {Fault::ErrorOnly, "+o=1234\rERROR\r", false},
        {Fault::NoCarrier, "+o=1234\rNO CARRIER\r", false},
        {Fault::Garbage, garbage, false},
        {Fault::EchoOnly, "+o=1234\r", false},
        {Fault::Split, "+o=1234\rOK\r", true},
        {Fault::Trickle, "+o=1234\rOK\r", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(sim::FaultName(c.fault)));
        panel.WithState([](PanelState& s) { s.objectNumber = "0050"; });
        panel.SetFault("+o=", c.fault);
        client.Write("+o=1234\r");
        const std::string reply = c.reply.empty() ? client.ReadFor(300) : client.ReadUntil(c.reply);
        EXPECT_EQ(reply, c.reply) << sim::Printable(reply);
        // Nothing more follows.
        EXPECT_EQ(client.ReadFor(c.fault == Fault::Split ? 600 : 100), "");
        EXPECT_EQ(ObjectNumber(panel), c.applied ? "1234" : "0050");
        // Other commands are not affected.
        EXPECT_EQ(client.Ask("+o"), "+o\r" + ObjectNumber(panel) + "\rOK\r");
    }
    for (const char* word : {"OK", "ERR", "IGN", "NO CARRIER", "DISCONNECT", "BUSY"})
        EXPECT_EQ(sim::kGarbageBytes.find(word), std::string_view::npos) << word;
}

TEST_F(PanelTest, SplitAndTrickleCarryMultiLineReplies) {
    panel.WithState([](PanelState& s) { s.pendingEvent = "ALARM 1301"; });
    panel.SetFault("+sp", Fault::Split);
    panel.SetFault("+v", Fault::Trickle);
    EXPECT_EQ(client.Ask("+sp"), "+sp\rALARM 1301\rOK\r");
    EXPECT_EQ(client.Ask("+v"), "+v\rORVEL11 v.002.005\rOK\r");
}

TEST_F(PanelTest, FaultForNTimesThenNormal) {
    panel.SetFault("+v", Fault::Error, 2);
    EXPECT_EQ(client.Ask("+v"), "+v\rERROR\rOK\r");
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r"); // not counted: does not match
    EXPECT_EQ(client.Ask("+v"), "+v\rERROR\rOK\r");
    EXPECT_EQ(client.Ask("+v"), "+v\rORVEL11 v.002.005\rOK\r");
    EXPECT_EQ(client.Ask("+v"), "+v\rORVEL11 v.002.005\rOK\r");
}

TEST_F(PanelTest, LongestFaultPrefixWinsAndClearEndsAll) {
    panel.SetFault("+AD", Fault::Silence);
    panel.SetFault("+AD05", Fault::ErrorOnly);
    EXPECT_EQ(client.Ask("+AD05=x", "ERROR\r"), "+AD05=x\rERROR\r");
    client.Write("+AD04=x\r");
    EXPECT_EQ(client.ReadFor(300), "");
    // Setting the same prefix again replaces its rule.
    panel.SetFault("+AD", Fault::EchoOnly);
    EXPECT_EQ(client.Ask("+AD04=y", "+AD04=y\r"), "+AD04=y\r");
    EXPECT_EQ(client.ReadFor(100), "");
    panel.ClearFaults();
    EXPECT_EQ(client.Ask("+AD05=z"), "+AD05=z\rOK\r");
    panel.WithState([](const PanelState& s) {
        EXPECT_EQ(s.texts[5], "z");
        EXPECT_EQ(s.texts[4], "");
        EXPECT_EQ(s.commandCounts.at("AD04"), 2);
    });
}

TEST_F(PanelTest, SilencedLoginLeavesTheKeyCountAlone) {
    panel.SetFault("+id=", Fault::Silence, 3);
    for (int i = 0; i < 3; ++i) {
        client.Write("+id=0000\r");
        EXPECT_EQ(client.ReadFor(100), "");
    }
    EXPECT_EQ(client.Ask("+id=0000", "ERR\r"), "+id=0000\rERR\r");
    EXPECT_EQ(panel.WithState([](const PanelState& s) { return s.wrongKeys; }), 1);
}

TEST_F(PanelTest, UnsolicitedBytesArriveBetweenCommands) {
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
    panel.SendUnsolicited("NO CARRIER\r");
    EXPECT_EQ(client.ReadUntil("NO CARRIER\r"), "NO CARRIER\r");
    panel.SendUnsolicited(std::string("\x00\xFF", 2));
    EXPECT_EQ(client.ReadUntil(std::string("\x00\xFF", 2)), std::string("\x00\xFF", 2));
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
}

} // namespace
