#include "sim/ProgramOptions.h"

#include <algorithm>
#include <charconv>

namespace sim {

namespace {

std::optional<int> ParseCount(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

bool IsFourDigits(std::string_view text) {
    return text.size() == 4 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::optional<FaultSetting> ParseFaultSetting(const std::string& text) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0)
        return std::nullopt;
    FaultSetting setting;
    setting.prefix = text.substr(0, equals);
    std::string_view kind = std::string_view(text).substr(equals + 1);
    if (const std::size_t colon = kind.find(':'); colon != std::string_view::npos) {
        const std::optional<int> times = ParseCount(kind.substr(colon + 1));
        if (!times || *times == 0)
            return std::nullopt;
        setting.times = *times;
        kind = kind.substr(0, colon);
    }
    const std::optional<Fault> fault = FaultFromName(kind);
    if (!fault)
        return std::nullopt;
    setting.fault = *fault;
    return setting;
}

ProgramOptions ParseProgramOptions(const std::vector<std::string>& args) {
    ProgramOptions options;
    for (std::size_t i = 0; i < args.size() && options.error.empty(); ++i) {
        const std::string& arg = args[i];
        // The options that take a value read the next argument.
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                options.error = arg + " needs a value";
                return std::nullopt;
            }
            return args[++i];
        };
        auto milliseconds = [&]() -> std::optional<int> {
            const std::optional<std::string> text = value();
            if (!text)
                return std::nullopt;
            const std::optional<int> ms = ParseCount(*text);
            if (!ms)
                options.error = arg + " needs a number of milliseconds, not \"" + *text + "\"";
            return ms;
        };

        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--no-pace") {
            options.panel.pace = false;
        } else if (arg == "--no-echo") {
            options.panel.echo = false;
        } else if (arg == "--verbose") {
            options.verbose = true;
        } else if (arg == "--link") {
            if (auto path = value())
                options.panel.symlinkPath = *path;
        } else if (arg == "--key") {
            if (auto key = value()) {
                if (IsFourDigits(*key))
                    options.key = *key;
                else
                    options.error = "--key needs four decimal digits, not \"" + *key + "\"";
            }
        } else if (arg == "--version") {
            options.version = value();
        } else if (arg == "--pending") {
            options.pending = value();
        } else if (arg == "--erase-delay") {
            options.eraseDelayMs = milliseconds();
        } else if (arg == "--ignore-period") {
            options.ignorePeriodMs = milliseconds();
        } else if (arg == "--trickle-ms") {
            if (auto ms = milliseconds())
                options.panel.trickleMsPerByte = *ms;
        } else if (arg == "--fault") {
            if (auto text = value()) {
                if (auto setting = ParseFaultSetting(*text))
                    options.faults.push_back(*setting);
                else
                    options.error = "--fault needs PREFIX=KIND[:N], not \"" + *text + "\"";
            }
        } else {
            options.error = "unknown option \"" + arg + "\"";
        }
    }
    return options;
}

std::string ProgramUsage() {
    return R"(Usage: orvel11-sim [OPTION]...
Simulates an "Орвел 11" alarm panel on a pseudo-terminal. Prints the path of the port as its
first line, then answers the panel's commands until SIGINT, SIGTERM or SIGHUP.

  --help               show this text and exit
  --link PATH          keep a symbolic link PATH to the port while running (removed on exit);
                       an old link at PATH is replaced, any other file there is an error
  --no-pace            send replies at once instead of at 19200 baud 8N2 (11 bits a byte)
  --no-echo            do not echo command lines
  --key DDDD           the panel's master key, four decimal digits (default 6183)
  --version TEXT       the firmware version that "+v" answers (default "ORVEL11 v.002.005")
  --erase-delay MS     "+FH" answers its "OK" only after MS milliseconds (default 0)
  --ignore-period MS   how long "+id=" answers "IGN" after three wrong keys (default 60000)
  --pending TEXT       event text that the first "+sp" answers before its "OK"
  --trickle-ms MS      pause before each byte of a Trickle reply (default 20)
  --fault PREFIX=KIND[:N]
                       misbehave on command lines starting with PREFIX, for the next N of them
                       or for good without :N; repeatable; the longest matching PREFIX wins.
                       The split is at the last "=", so "+o==Silence" faults "+o=" lines.
                       KIND: Silence    no reply at all
                             Error      echo, "ERROR", "OK"
                             ErrorOnly  echo, "ERROR"
                             NoCarrier  echo, "NO CARRIER"
                             Garbage    echo and bytes that are no reply
                             Split      the normal reply in three pieces with pauses
                             Trickle    the normal reply byte by byte
                             EchoOnly   the echo alone
  --verbose            print each received line and each reply on stderr
)";
}

void ApplyProgramOptions(const ProgramOptions& options, Panel& panel) {
    panel.WithState([&](PanelState& state) {
        if (options.key)
            state.masterKey = *options.key;
        if (options.version)
            state.version = *options.version;
        if (options.pending)
            state.pendingEvent = *options.pending;
        if (options.eraseDelayMs)
            state.eraseDelay = std::chrono::milliseconds(*options.eraseDelayMs);
        if (options.ignorePeriodMs)
            state.ignorePeriod = std::chrono::milliseconds(*options.ignorePeriodMs);
    });
    for (const FaultSetting& setting : options.faults)
        panel.SetFault(setting.prefix, setting.fault, setting.times);
}

} // namespace sim
