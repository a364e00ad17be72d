#pragma once

#include "sim/Faults.h"
#include "sim/Panel.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct FaultSetting {
    std::string prefix;
    Fault fault = Fault::Silence;
    int times = -1;
};

// The command line of orvel11-sim.
struct ProgramOptions {
    Options panel = [] {
        Options options;
        options.pace = true; // the program behaves like the wire unless told otherwise
        return options;
    }();
    std::optional<std::string> key;
    std::optional<std::string> version;
    std::optional<std::string> pending;
    std::optional<int> eraseDelayMs;
    std::optional<int> ignorePeriodMs;
    std::vector<FaultSetting> faults;
    bool verbose = false;
    bool help = false;
    // Not empty when the command line is wrong.
    std::string error;
};

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args);
// "PREFIX=KIND[:N]", split at the last "=", so "+o==Silence" is prefix "+o=".
std::optional<FaultSetting> ParseFaultSetting(const std::string& text);
std::string ProgramUsage();
// Puts the state and fault options into a running panel.
void ApplyProgramOptions(const ProgramOptions& options, Panel& panel);

} // namespace sim
