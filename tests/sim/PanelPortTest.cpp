#include "PanelFixture.h"

#include <climits>
#include <fstream>
#include <sys/stat.h>
#include <system_error>

namespace {

using sim::PanelState;

std::string LinkTarget(const std::string& link) {
    char target[PATH_MAX] = {};
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

TEST_F(PanelTest, PortCanBeOpenedAgainAfterItWasClosed) {
    EXPECT_EQ(client.Ask("+o=0A0A"), "+o=0A0A\rOK\r");
    EXPECT_EQ(panel.Clients(), 1);
    client.Close();
    for (int session = 0; session < 3; ++session) {
        SimClient again(panel.PortPath());
        ASSERT_TRUE(again.IsOpen());
        EXPECT_EQ(again.Ask("+o"), "+o\r0A0A\rOK\r");
        EXPECT_EQ(panel.Clients(), 1);
    }
    EXPECT_TRUE(panel.WaitForClients(0, 5000));
}

TEST_F(PanelTest, ReplyLeftUnreadIsNotSeenByTheNextSession) {
    // The tool ends a session with "+rb" and closes the port without waiting for the answer.
    client.Write("+rb\r");
    ASSERT_TRUE(panel.WaitForLine("+rb", 5000));
    client.Close();
    ASSERT_TRUE(panel.WaitForClients(0, 5000));
    SimClient next(panel.PortPath());
    ASSERT_TRUE(next.IsOpen());
    next.Write("+id=1234\r");
    EXPECT_EQ(next.ReadLines(2), "+id=1234\rERR\r");
}

TEST_F(PanelTest, CommandFromAClientThatHasGoneIsCarriedOutButNotAnswered) {
    client.Write("+o=0B0B\r");
    client.Close();
    ASSERT_TRUE(panel.WaitForLine("+o=0B0B", 5000));
    ASSERT_TRUE(panel.WaitForClients(0, 5000));
    SimClient next(panel.PortPath());
    ASSERT_TRUE(next.IsOpen());
    EXPECT_EQ(next.Ask("+o"), "+o\r0B0B\rOK\r");
}

TEST_F(PanelTest, ReceivedKeepsLinesAndBytesInOrder) {
    EXPECT_FALSE(panel.WaitForLine("+o", 50));
    client.Write("+o\r[\r+AD00=\xCF\xEE\r");
    EXPECT_TRUE(panel.WaitForLine("+AD00=\xCF\xEE", 5000));
    EXPECT_EQ(panel.Received(), (std::vector<std::string>{"+o", "[", "+AD00=\xCF\xEE"}));
    EXPECT_EQ(panel.ReceivedBytes(), "+o\r[\r+AD00=\xCF\xEE\r");
    // The state change is visible once the line is seen.
    EXPECT_EQ(panel.WithState([](const PanelState& s) { return s.texts[0]; }), "\xCF\xEE");
    panel.ClearReceived();
    EXPECT_TRUE(panel.Received().empty());
    EXPECT_TRUE(panel.ReceivedBytes().empty());
    // A line without its carriage return is not a line yet.
    client.Write("+v");
    EXPECT_FALSE(panel.WaitForLine("+v", 100));
    client.Write("\r");
    EXPECT_TRUE(panel.WaitForLine("+v", 5000));
}

TEST_F(PanelTest, HangupMakesTheClientsReadsFail) {
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
    panel.Hangup();
    const auto [got, error] = client.ReadOnce(2000);
    EXPECT_TRUE(got == 0 || (got < 0 && error == EIO)) << got << " " << error;
}

TEST(PanelLink, SymlinkPointsToThePortWhileThePanelLives) {
    const std::string link = "/tmp/orvel-sim-test-link-" + std::to_string(::getpid());
    {
        sim::Options options;
        options.symlinkPath = link;
        sim::Panel panel(options);
        EXPECT_EQ(LinkTarget(link), panel.PortPath());
        SimClient client(link);
        ASSERT_TRUE(client.IsOpen());
        EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
    }
    EXPECT_FALSE(Exists(link));
}

TEST(PanelLink, StaleLinkIsReplacedButAFileIsNot) {
    const std::string link = "/tmp/orvel-sim-test-stale-" + std::to_string(::getpid());
    ASSERT_EQ(::symlink("/dev/null", link.c_str()), 0);
    {
        sim::Options options;
        options.symlinkPath = link;
        sim::Panel panel(options);
        EXPECT_EQ(LinkTarget(link), panel.PortPath());
    }
    std::ofstream(link) << "keep me";
    sim::Options options;
    options.symlinkPath = link;
    EXPECT_THROW(sim::Panel{options}, std::system_error);
    std::string content;
    std::getline(std::ifstream(link), content);
    EXPECT_EQ(content, "keep me");
    ::unlink(link.c_str());
}

TEST(PanelTrace, NotesEachLineAndReply) {
    std::vector<std::string> notes;
    std::mutex notesMutex;
    sim::Options options;
    options.trace = [&](std::string_view note) {
        std::lock_guard lock(notesMutex);
        notes.emplace_back(note);
    };
    {
        sim::Panel panel(options);
        SimClient client(panel.PortPath());
        EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
    }
    EXPECT_EQ(notes, (std::vector<std::string>{"<- +o", "-> +o\\r0050\\rOK\\r"}));
}

} // namespace
