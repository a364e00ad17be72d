#include "PanelFixture.h"

namespace {

using sim::PanelState;

class PanelLoginTest : public PanelTest {
  protected:
    // The reply word after the echo: "OK", "ERR" or "IGN".
    std::string LoginWord(const std::string& key) {
        const std::string echo = "+id=" + key + "\r";
        client.Write(echo);
        const std::string reply = client.ReadLines(2);
        if (!reply.starts_with(echo) || !reply.ends_with("\r"))
            return "unexpected: " + sim::Printable(reply);
        return reply.substr(echo.size(), reply.size() - echo.size() - 1);
    }
    bool LoggedIn() {
        return panel.WithState([](const PanelState& s) { return s.loggedIn; });
    }
};

TEST_F(PanelLoginTest, MasterKeyLogsIn) {
    EXPECT_EQ(client.Ask("+id=6183"), "+id=6183\rOK\r");
    EXPECT_TRUE(LoggedIn());
}

TEST_F(PanelLoginTest, ThreeWrongKeysInARowLockLoginsForThePeriod) {
    EXPECT_EQ(client.Ask("+id=1111", "ERR\r"), "+id=1111\rERR\r");
    EXPECT_EQ(LoginWord("1112"), "ERR");
    EXPECT_EQ(LoginWord("1113"), "ERR");
    // Locked: even the right key is ignored.
    EXPECT_EQ(client.Ask("+id=6183", "IGN\r"), "+id=6183\rIGN\r");
    EXPECT_EQ(LoginWord("1114"), "IGN");
    EXPECT_FALSE(LoggedIn());
    // Other commands still answer.
    EXPECT_EQ(client.Ask("+o"), "+o\r0050\rOK\r");
}

TEST_F(PanelLoginTest, RightKeyResetsTheCountOfWrongKeys) {
    EXPECT_EQ(LoginWord("0001"), "ERR");
    EXPECT_EQ(LoginWord("0002"), "ERR");
    EXPECT_EQ(LoginWord("6183"), "OK");
    EXPECT_EQ(LoginWord("0003"), "ERR");
    EXPECT_EQ(LoginWord("0004"), "ERR");
    EXPECT_FALSE(LoggedIn());
    EXPECT_EQ(LoginWord("6183"), "OK");
    EXPECT_TRUE(LoggedIn());
}

TEST_F(PanelLoginTest, LoginsAnswerAgainWhenThePeriodIsOver) {
    panel.WithState([](PanelState& s) { s.ignorePeriod = std::chrono::milliseconds(300); });
    for (const char* key : {"1111", "2222", "3333"})
        EXPECT_EQ(LoginWord(key), "ERR");
    std::string word = LoginWord("6183");
    for (int i = 0; i < 100 && word == "IGN"; ++i) {
        client.ReadFor(50);
        word = LoginWord("6183");
    }
    EXPECT_EQ(word, "OK");
    EXPECT_TRUE(LoggedIn());
    // The count starts afresh after the period.
    EXPECT_EQ(LoginWord("1111"), "ERR");
    EXPECT_EQ(LoginWord("1111"), "ERR");
    EXPECT_EQ(LoginWord("6183"), "OK");
}

TEST_F(PanelLoginTest, NewMasterKeyIsTheLoginKeyAndRebootForgetsTheLogin) {
    EXPECT_EQ(client.Ask("+FMW=2468"), "+FMW=2468\rOK\r");
    EXPECT_EQ(LoginWord("6183"), "ERR");
    EXPECT_EQ(LoginWord("2468"), "OK");
    EXPECT_TRUE(LoggedIn());
    EXPECT_EQ(client.Ask("+rb"), "+rb\rOK\r");
    EXPECT_FALSE(LoggedIn());
}

} // namespace
