#pragma once

#include "SimClient.h"
#include "sim/Panel.h"

#include <gtest/gtest.h>
#include <tuple>

// A fresh simulated panel and a client on its port.
class PanelTest : public ::testing::Test {
  protected:
    explicit PanelTest(sim::Options options = {}) : panel(std::move(options)), client(panel.PortPath()) {}

    void SetUp() override { ASSERT_TRUE(client.IsOpen()) << panel.PortPath(); }

    // The settings the commands can change, to compare before and after.
    auto Settings() {
        return panel.WithState([](const sim::PanelState& s) {
            return std::tuple(s.version, s.masterKey, s.objectNumber, s.alarmButtonMode, s.siren, s.clock,
                              s.texts, s.liveReadings, s.loggedIn, s.stopped, s.historyErased);
        });
    }

    sim::Panel panel;
    SimClient client;
};
