#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// How the panel misbehaves on a command. Split and Trickle still carry out the command and send
// its whole reply; every other kind leaves the panel's state alone.
enum class Fault {
    Silence,   // no reply at all, not even the echo
    Error,     // echo + "ERROR\rOK\r"
    ErrorOnly, // echo + "ERROR\r"
    NoCarrier, // echo + "NO CARRIER\r"
    Garbage,   // echo + bytes that are no part of the protocol, no "OK"
    Split,     // the normal reply in three pieces with pauses between
    Trickle,   // the normal reply byte by byte, slowly
    EchoOnly,  // the echo and nothing else
};

// Bytes the Garbage fault sends: none of "OK", "ERR", "IGN" or a link-loss word can be read in them.
inline constexpr std::string_view kGarbageBytes{"\x00\xFE#~\x7F\xA5*\x13", 8};

std::string_view FaultName(Fault fault);
// Accepts the names above, letter case ignored.
std::optional<Fault> FaultFromName(std::string_view name);

// Fault rules by command prefix. A rule matches command lines that start with its prefix; the
// longest matching prefix wins. A rule with a count ends after that many matching lines.
class FaultRules {
  public:
    // times < 0: until cleared; times == 0 removes the rule for prefix.
    void Set(std::string prefix, Fault fault, int times);
    void Clear() { m_rules.clear(); }
    // The fault for this line, using up one of its rule's times.
    std::optional<Fault> Take(std::string_view line);

  private:
    struct Rule {
        std::string prefix;
        Fault fault;
        int remaining; // < 0: no limit
    };
    std::vector<Rule> m_rules;
};

} // namespace sim
