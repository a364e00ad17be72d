#include "sim/Commands.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

bool IsDigits(std::string_view text, std::size_t count) {
    return text.size() == count &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int UpperHexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A command that only reads: a value after "=" is refused.
Handler ReadOnly(std::function<Reply(PanelState&)> read) {
    return [read = std::move(read)](const CommandCall& call, PanelState& state) {
        return call.hasValue ? Reply::Error() : read(state);
    };
}

// A command that only acts on "name=value".
Handler WriteOnly(std::function<Reply(const CommandCall&, PanelState&)> write) {
    return [write = std::move(write)](const CommandCall& call, PanelState& state) {
        return call.hasValue ? write(call, state) : Reply::Error();
    };
}

// "+x" reads the field, "+x=value" writes it when valid; an invalid value changes nothing.
Handler TextSetting(std::string PanelState::*field, bool (*valid)(std::string_view)) {
    return [field, valid](const CommandCall& call, PanelState& state) {
        if (!call.hasValue)
            return Reply::Ok({state.*field});
        if (!valid(call.value))
            return Reply::Error();
        state.*field = call.value;
        return Reply::Ok();
    };
}

std::string NowAsPanelClock() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return FormatPanelClock(local);
}

Reply Login(const CommandCall& call, PanelState& state) {
    if (call.now < state.ignoreUntil)
        return Reply::Word("IGN");
    if (call.value == state.masterKey) {
        state.loggedIn = true;
        state.wrongKeys = 0;
        return Reply::Ok();
    }
    state.loggedIn = false;
    if (++state.wrongKeys >= kWrongKeysBeforeIgnore) {
        state.wrongKeys = 0;
        state.ignoreUntil = call.now + state.ignorePeriod;
    }
    return Reply::Word("ERR");
}

Reply StopPanel(PanelState& state) {
    state.stopped = true;
    ++state.stopCount;
    Reply reply = Reply::Ok();
    if (!state.pendingEvent.empty()) {
        reply.lines.push_back(state.pendingEvent);
        state.pendingEvent.clear();
    }
    return reply;
}

Reply WriteText(const CommandCall& call, PanelState& state) {
    if (call.suffix.size() != 2)
        return Reply::Error();
    const int high = UpperHexValue(call.suffix[0]);
    const int low = UpperHexValue(call.suffix[1]);
    if (high < 0 || low < 0)
        return Reply::Error();
    const int slot = high * 16 + low;
    if (slot >= kTextSlotCount)
        return Reply::Error();
    state.texts[static_cast<std::size_t>(slot)] = call.value;
    ++state.textWriteCount;
    return Reply::Ok();
}

} // namespace

void CommandTable::Add(std::string name, Handler handler) {
    m_exact.insert_or_assign(std::move(name), std::move(handler));
}

void CommandTable::AddFamily(std::string prefix, Handler handler) {
    m_families.insert_or_assign(std::move(prefix), std::move(handler));
}

Reply CommandTable::Answer(std::string_view line, PanelState& state,
                           std::chrono::steady_clock::time_point now) const {
    CommandCall call = ParseCommand(line);
    call.now = now;
    if (const auto exact = m_exact.find(call.name); exact != m_exact.end())
        return exact->second(call, state);

    // The longest family name that starts the command wins.
    const Handler* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [prefix, handler] : m_families) {
        if (prefix.size() >= bestLength && std::string_view(call.name).starts_with(prefix)) {
            best = &handler;
            bestLength = prefix.size();
        }
    }
    if (!best)
        return Reply::Error();
    call.suffix = call.name.substr(bestLength);
    return (*best)(call, state);
}

CommandCall ParseCommand(std::string_view line) {
    CommandCall call;
    if (line.starts_with('+'))
        line.remove_prefix(1);
    const std::size_t equals = line.find('=');
    call.name = std::string(line.substr(0, equals));
    if (equals != std::string_view::npos) {
        call.hasValue = true;
        call.value = std::string(line.substr(equals + 1));
    }
    return call;
}

void AddServiceCommands(CommandTable& table) {
    table.Add("v", ReadOnly([](PanelState& s) { return Reply::Ok({s.version}); }));
    table.Add("id", WriteOnly(Login));
    table.Add("sp", ReadOnly(StopPanel));
    table.Add("qt", ReadOnly([](PanelState& s) {
                  s.stopped = false;
                  ++s.startCount;
                  return Reply::Ok();
              }));
    table.Add("rb", ReadOnly([](PanelState& s) {
                  s.loggedIn = false;
                  s.stopped = false;
                  ++s.rebootCount;
                  return Reply::Ok();
              }));
    table.Add("t", ReadOnly([](PanelState& s) {
                  ++s.lampTestCount;
                  return Reply::Ok();
              }));
    table.Add("FH", ReadOnly([](PanelState& s) {
                  s.historyErased = true;
                  ++s.eraseCount;
                  Reply reply = Reply::Ok();
                  reply.finalDelay = s.eraseDelay;
                  return reply;
              }));
    for (std::size_t n = 0; n < 3; ++n) {
        table.Add("c" + std::to_string(n),
                  ReadOnly([n](PanelState& s) { return Reply::Ok({Hex4(s.liveReadings[n])}); }));
    }
}

void AddCommonCommands(CommandTable& table) {
    table.Add("o", TextSetting(&PanelState::objectNumber, [](std::string_view v) {
                  return v.size() == 4 && std::all_of(v.begin(), v.end(), IsHexDigit);
              }));
    table.Add("AC",
              ReadOnly([](PanelState& s) { return Reply::Ok({s.clock ? *s.clock : NowAsPanelClock()}); }));
    table.Add("FMR", ReadOnly([](PanelState& s) { return Reply::Ok({s.masterKey}); }));
    table.Add("FMW", WriteOnly([](const CommandCall& call, PanelState& s) {
                  if (!IsDigits(call.value, 4))
                      return Reply::Error();
                  s.masterKey = call.value;
                  return Reply::Ok();
              }));
    table.Add("C", [](const CommandCall& call, PanelState& s) {
        if (!call.hasValue)
            return Reply::Ok({std::string(1, s.alarmButtonMode)});
        if (call.value != "0" && call.value != "1" && call.value != "2")
            return Reply::Error();
        s.alarmButtonMode = call.value[0];
        return Reply::Ok();
    });
    table.Add("yt", [](const CommandCall& call, PanelState& s) {
        if (!call.hasValue)
            return Reply::Ok({s.siren ? "1" : "0"});
        if (call.value != "0" && call.value != "1")
            return Reply::Error();
        s.siren = call.value == "1";
        return Reply::Ok();
    });
}

void AddTextCommands(CommandTable& table) {
    table.AddFamily("AD", WriteOnly(WriteText));
}

CommandTable DefaultCommands() {
    CommandTable table;
    AddServiceCommands(table);
    AddCommonCommands(table);
    AddTextCommands(table);
    return table;
}

std::string FormatPanelClock(const std::tm& time) {
    char text[64];
    std::snprintf(text, sizeof text, "%d:%d:%d %d/%d/%d", time.tm_hour, time.tm_min, time.tm_sec,
                  time.tm_mday, time.tm_mon + 1, (time.tm_year + 1900) % 100);
    return text;
}

std::string Hex4(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(std::clamp(value, 0, 0xFFFF)));
    return text;
}

} // namespace sim
