#include "sim/ProgramOptions.h"
#include "SimClient.h"

#include <gtest/gtest.h>

namespace {

using sim::Fault;

TEST(ProgramOptions, DefaultsPaceAndEcho) {
    const sim::ProgramOptions options = sim::ParseProgramOptions({});
    EXPECT_TRUE(options.error.empty());
    EXPECT_TRUE(options.panel.pace);
    EXPECT_TRUE(options.panel.echo);
    EXPECT_FALSE(options.help);
}

TEST(ProgramOptions, ReadsEveryOption) {
    const sim::ProgramOptions options = sim::ParseProgramOptions(
        {"--no-pace", "--no-echo",  "--link",        "/tmp/port", "--key",           "1234",
         "--version", "V 1.2.003",  "--erase-delay", "1500",      "--ignore-period", "700",
         "--pending", "ALARM 1301", "--trickle-ms",  "5",         "--fault",         "+o==Silence:2",
         "--fault",   "+v=error",   "--verbose"});
    ASSERT_EQ(options.error, "");
    EXPECT_FALSE(options.panel.pace);
    EXPECT_FALSE(options.panel.echo);
    EXPECT_EQ(options.panel.symlinkPath, "/tmp/port");
    EXPECT_EQ(options.key, "1234");
    EXPECT_EQ(options.version, "V 1.2.003");
    EXPECT_EQ(options.eraseDelayMs, 1500);
    EXPECT_EQ(options.ignorePeriodMs, 700);
    EXPECT_EQ(options.pending, "ALARM 1301");
    EXPECT_EQ(options.panel.trickleMsPerByte, 5);
    EXPECT_TRUE(options.verbose);
    ASSERT_EQ(options.faults.size(), 2u);
    EXPECT_EQ(options.faults[0].prefix, "+o=");
    EXPECT_EQ(options.faults[0].fault, Fault::Silence);
    EXPECT_EQ(options.faults[0].times, 2);
    EXPECT_EQ(options.faults[1].prefix, "+v");
    EXPECT_EQ(options.faults[1].fault, Fault::Error);
    EXPECT_EQ(options.faults[1].times, -1);
}

TEST(ProgramOptions, RefusesBadCommandLines) {
    const std::vector<std::vector<std::string>> cases = {
        {"--key", "12a4"},       {"--key", "12345"},        {"--key"},
        {"--erase-delay", "-1"}, {"--erase-delay", "soon"}, {"--fault", "+v"},
        {"--fault", "+v=Nope"},  {"--fault", "+v=Error:0"}, {"--fault", "+v=Error:x"},
        {"--fault", "=Error"},   {"--frobnicate"},          {"--link"},
    };
    for (const auto& args : cases)
        EXPECT_NE(sim::ParseProgramOptions(args).error, "")
            << args[0] << (args.size() > 1 ? " " + args[1] : "");
}

TEST(ProgramOptions, FaultNamesRoundTrip) {
    for (Fault fault : {Fault::Silence, Fault::Error, Fault::ErrorOnly, Fault::NoCarrier, Fault::Garbage,
                        Fault::Split, Fault::Trickle, Fault::EchoOnly})
        EXPECT_EQ(sim::FaultFromName(sim::FaultName(fault)), fault);
}

TEST(ProgramOptions, AppliedToARunningPanel) {
    sim::ProgramOptions options =
        sim::ParseProgramOptions({"--key", "1234", "--pending", "EV", "--fault", "+v=Silence:1"});
    ASSERT_EQ(options.error, "");
    sim::Panel panel;
    sim::ApplyProgramOptions(options, panel);
    panel.WithState([](const sim::PanelState& s) {
        EXPECT_EQ(s.masterKey, "1234");
        EXPECT_EQ(s.pendingEvent, "EV");
    });
    SimClient client(panel.PortPath());
    client.Write("+v\r");
    EXPECT_EQ(client.ReadFor(200), "");
    EXPECT_EQ(client.Ask("+v"), "+v\rORVEL11 v.002.005\rOK\r");
}

} // namespace
