#pragma once

#include <array>
#include <chrono>
#include <map>
#include <optional>
#include <string>

namespace sim {

// Number of message text slots; on the wire they are "00" to "19".
inline constexpr int kTextSlotCount = 26;
// Wrong keys in a row after which the panel ignores logins for ignorePeriod.
inline constexpr int kWrongKeysBeforeIgnore = 3;

// Everything the simulated panel remembers. Texts are raw bytes as they came over the line.
// Access it only through Panel::WithState while a Panel runs.
struct PanelState {
    // Panel settings
    std::string version = "ORVEL11 v.002.005";
    std::string masterKey = "6183";
    std::string objectNumber = "0050";
    char alarmButtonMode = '0';
    bool siren = false;
    // "H:M:S D/M/Y"; when unset the panel reports the local time now.
    std::optional<std::string> clock;
    std::array<std::string, kTextSlotCount> texts{};
    std::array<int, 3> liveReadings{100, 400, 800};

    // Line behaviour
    bool echo = true;

    // Login
    bool loggedIn = false;
    int wrongKeys = 0;
    std::chrono::steady_clock::time_point ignoreUntil{};
    std::chrono::milliseconds ignorePeriod{60000};

    // Run state and service commands
    bool stopped = false;
    // Answered once by the next "+sp" before its "OK", then cleared.
    std::string pendingEvent;
    int rebootCount = 0;
    int lampTestCount = 0;
    int stopCount = 0;
    int startCount = 0;
    bool historyErased = false;
    int eraseCount = 0;
    std::chrono::milliseconds eraseDelay{0};
    int textWriteCount = 0;

    // Every "+" line seen, by command name ("o", "AD05", "id"), faulted ones included.
    std::map<std::string, int> commandCounts;
};

} // namespace sim
