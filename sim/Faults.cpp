#include "sim/Faults.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sim {

namespace {

constexpr std::array<std::pair<Fault, std::string_view>, 8> kNames{{
    {Fault::Silence, "Silence"},
    {Fault::Error, "Error"},
    {Fault::ErrorOnly, "ErrorOnly"},
    {Fault::NoCarrier, "NoCarrier"},
    {Fault::Garbage, "Garbage"},
    {Fault::Split, "Split"},
    {Fault::Trickle, "Trickle"},
    {Fault::EchoOnly, "EchoOnly"},
}};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

std::string_view FaultName(Fault fault) {
    for (const auto& [kind, name] : kNames) {
        if (kind == fault)
            return name;
    }
    return {};
}

std::optional<Fault> FaultFromName(std::string_view name) {
    for (const auto& [kind, text] : kNames) {
        if (EqualsIgnoringCase(text, name))
            return kind;
    }
    return std::nullopt;
}

void FaultRules::Set(std::string prefix, Fault fault, int times) {
    std::erase_if(m_rules, [&](const Rule& rule) { return rule.prefix == prefix; });
    if (times != 0)
        m_rules.push_back(Rule{std::move(prefix), fault, times});
}

std::optional<Fault> FaultRules::Take(std::string_view line) {
    auto best = m_rules.end();
    for (auto rule = m_rules.begin(); rule != m_rules.end(); ++rule) {
        if (line.starts_with(rule->prefix) &&
            (best == m_rules.end() || rule->prefix.size() > best->prefix.size()))
            best = rule;
    }
    if (best == m_rules.end())
        return std::nullopt;
    const Fault fault = best->fault;
    if (best->remaining > 0 && --best->remaining == 0)
        m_rules.erase(best);
    return fault;
}

} // namespace sim
