#pragma once

#include "sim/PanelState.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// One command line, taken apart: "+AD05=text" has name "AD05", value "text".
struct CommandCall {
    std::string name;
    // For a family row ("AD"): what follows the family name ("05"); empty for an exact row.
    std::string suffix;
    std::string value;
    bool hasValue = false;
    std::chrono::steady_clock::time_point now;
};

// What the panel answers after the echo: the value lines, then the final word ("OK", "ERROR",
// "ERR", "IGN"), which may come only after finalDelay.
struct Reply {
    std::vector<std::string> lines;
    std::string final = "OK";
    std::chrono::milliseconds finalDelay{0};

    static Reply Ok(std::vector<std::string> lines = {}) { return Reply{std::move(lines), "OK", {}}; }
    static Reply Error() { return Reply{{}, "ERROR", {}}; }
    static Reply Word(std::string word) { return Reply{{}, std::move(word), {}}; }
};

using Handler = std::function<Reply(const CommandCall&, PanelState&)>;

// Command handlers by name. An exact row answers only its own name; a family row ("AD") answers
// every name that starts with it and gets the rest of the name as the call's suffix.
class CommandTable {
  public:
    void Add(std::string name, Handler handler);
    void AddFamily(std::string prefix, Handler handler);
    // Answers one line that starts with "+"; unknown commands answer "ERROR".
    Reply Answer(std::string_view line, PanelState& state, std::chrono::steady_clock::time_point now) const;

  private:
    std::map<std::string, Handler, std::less<>> m_exact;
    std::map<std::string, Handler, std::less<>> m_families;
};

// Splits "+name=value" (the leading "+" already checked by the caller).
CommandCall ParseCommand(std::string_view line);

// Every command the simulated panel knows.
CommandTable DefaultCommands();
// Rows by area, so new areas add their own function here.
void AddServiceCommands(CommandTable& table);
void AddCommonCommands(CommandTable& table);
void AddTextCommands(CommandTable& table);

// Panel clock text "H:M:S D/M/Y": no leading zeros, year within the century.
std::string FormatPanelClock(const std::tm& time);
// Upper-case hexadecimal, 4 digits, clamped to 0000..FFFF.
std::string Hex4(int value);

} // namespace sim
