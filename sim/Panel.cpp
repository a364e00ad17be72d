#include "sim/Panel.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace sim {

namespace {

using Clock = std::chrono::steady_clock;

// Lines longer than this are no command of the panel; the rest of such a line is dropped.
constexpr std::size_t kMaxLineLength = 64 * 1024;

// 19200 baud, 8 data bits, 2 stop bits and the start bit: 11 bits a byte.
constexpr long long kBitsPerByte = 11;
constexpr long long kBaud = 19200;

// Wire time of the first count bytes, computed from the start so rounding never adds up.
Clock::duration WireTime(std::size_t count) {
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(static_cast<long long>(count) * kBitsPerByte * 1'000'000'000LL / kBaud));
}

// Pauses between the pieces of a Split reply.
constexpr std::array<std::chrono::milliseconds, 2> kSplitPauses{std::chrono::milliseconds(150),
                                                                std::chrono::milliseconds(250)};

} // namespace

std::string Printable(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            text += "\\r";
        } else if (c == '\n') {
            text += "\\n";
        } else if (c == '\\') {
            text += "\\\\";
        } else if (byte < 0x20 || byte >= 0x7F) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            text += hex;
        } else {
            text += c;
        }
    }
    return text;
}

Panel::Panel(Options options) : m_options(std::move(options)), m_commands(DefaultCommands()) {
    m_state.echo = m_options.echo;
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
        throw std::system_error(errno, std::generic_category(), "pipe2");
    m_wakeRead.Reset(pipeFds[0]);
    m_wakeWrite.Reset(pipeFds[1]);
    MakeSymlink();
    m_thread = std::thread([this] { Run(); });
}

Panel::~Panel() {
    m_stopRequested = true;
    Wake();
    if (m_thread.joinable())
        m_thread.join();
    if (m_ownsSymlink)
        ::unlink(m_options.symlinkPath.c_str());
}

void Panel::MakeSymlink() {
    const std::string& link = m_options.symlinkPath;
    if (link.empty())
        return;
    // Replace a stale link left by an earlier run, but never a file that is not a link.
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        ::unlink(link.c_str());
    if (::symlink(PortPath().c_str(), link.c_str()) != 0)
        throw std::system_error(errno, std::generic_category(), "symlink " + link);
    m_ownsSymlink = true;
}

void Panel::SetFault(std::string prefix, Fault fault, int times) {
    std::lock_guard lock(m_mutex);
    m_faults.Set(std::move(prefix), fault, times);
}

void Panel::ClearFaults() {
    std::lock_guard lock(m_mutex);
    m_faults.Clear();
}

void Panel::SendUnsolicited(std::string bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_outbox.push_back(std::move(bytes));
    }
    Wake();
}

std::vector<std::string> Panel::Received() const {
    std::lock_guard lock(m_mutex);
    return m_received;
}

std::string Panel::ReceivedBytes() const {
    std::lock_guard lock(m_mutex);
    return m_receivedBytes;
}

void Panel::ClearReceived() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_receivedBytes.clear();
}

bool Panel::WaitForLine(const std::string& line, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return std::find(m_received.begin(), m_received.end(), line) != m_received.end();
    });
}

void Panel::Hangup() {
    m_hangupRequested = true;
    Wake();
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [&] { return m_lineClosed; });
}

void Panel::Wake() {
    const char byte = 1;
    // A full pipe already holds a wake-up.
    [[maybe_unused]] const ssize_t written = ::write(m_wakeWrite.Get(), &byte, 1);
}

void Panel::WatchClients() {
    if (m_pty.WatchFd() < 0)
        return;
    m_pty.OnWatchReadable();
    {
        std::lock_guard lock(m_mutex);
        if (m_clients == m_pty.Clients())
            return;
        m_clients = m_pty.Clients();
    }
    m_changed.notify_all();
}

int Panel::Clients() const {
    std::lock_guard lock(m_mutex);
    return m_clients;
}

bool Panel::WaitForClients(int count, int timeoutMs) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_clients == count; });
}

void Panel::DrainWake() {
    std::array<char, 64> drain;
    while (::read(m_wakeRead.Get(), drain.data(), drain.size()) > 0) {
    }
}

void Panel::CloseLine() {
    m_pty.Close();
    {
        std::lock_guard lock(m_mutex);
        m_lineClosed = true;
    }
    m_changed.notify_all();
}

void Panel::Trace(std::string_view what, std::string_view bytes) const {
    if (m_options.trace)
        m_options.trace(std::string(what) + Printable(bytes));
}

void Panel::Run() {
    while (!m_stopRequested) {
        if (m_hangupRequested && m_pty.IsOpen())
            CloseLine();

        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        fds[count++] = pollfd{m_wakeRead.Get(), POLLIN, 0};
        const bool lineOpen = m_pty.IsOpen();
        if (lineOpen) {
            fds[count++] = pollfd{m_pty.MasterFd(), POLLIN, 0};
            if (m_pty.WatchFd() >= 0)
                fds[count++] = pollfd{m_pty.WatchFd(), POLLIN, 0};
        }
        if (::poll(fds.data(), count, -1) < 0 && errno != EINTR)
            break;

        if (fds[0].revents & POLLIN)
            DrainWake();
        if (m_stopRequested)
            break;
        if (m_hangupRequested || !lineOpen)
            continue;
        // Opens and closes of the port come first: they may discard input meant for an old client.
        if (count > 2 && fds[2].revents)
            WatchClients();
        if (fds[1].revents & POLLIN) {
            OnInput();
        } else if (fds[1].revents & (POLLHUP | POLLERR)) {
            // Not expected while the panel holds the slave open; never spin on it.
            SleepUntil(Clock::now() + std::chrono::milliseconds(10));
        }
        SendOutbox();
    }
    if (m_pty.IsOpen())
        CloseLine();
}

void Panel::OnInput() {
    std::array<char, 4096> buffer;
    const ssize_t got = ::read(m_pty.MasterFd(), buffer.data(), buffer.size());
    if (got <= 0)
        return;
    const std::string_view bytes(buffer.data(), static_cast<std::size_t>(got));
    // The client that wrote these bytes had opened the port before: count its open first.
    WatchClients();
    m_sendSession = m_pty.Session();
    {
        std::lock_guard lock(m_mutex);
        m_receivedBytes += bytes;
    }
    for (const char c : bytes) {
        if (c != '\r') {
            if (m_lineBuffer.size() < kMaxLineLength)
                m_lineBuffer += c;
            else
                m_lineOverflow = true;
            continue;
        }
        std::string line;
        line.swap(m_lineBuffer);
        OnLine(line);
        m_lineOverflow = false;
        if (Interrupted())
            return;
    }
}

void Panel::OnLine(const std::string& line) {
    Answer answer;
    {
        std::lock_guard lock(m_mutex);
        m_received.push_back(line);
        answer = Plan(line);
    }
    m_changed.notify_all();
    Trace("<- ", line);
    if (answer.head.empty() && answer.tail.empty())
        return;
    Trace("-> ", answer.head + answer.tail);
    if (!Send(answer.head, answer.split, answer.trickle) || answer.tail.empty())
        return;
    if (answer.tailDelay.count() > 0 && !SleepUntil(Clock::now() + answer.tailDelay))
        return;
    Send(answer.tail, answer.split, answer.trickle);
}

Panel::Answer Panel::Plan(const std::string& line) {
    Answer answer;
    // Only "+" lines are commands; the tool's "[" lines before "+sp" get no answer.
    if (!line.starts_with('+'))
        return answer;
    ++m_state.commandCounts[ParseCommand(line).name];

    const std::optional<Fault> fault = m_faults.Take(line);
    const std::string echo = m_state.echo ? line + "\r" : std::string();
    if (fault == Fault::Silence)
        return answer;
    answer.head = echo;
    if (m_lineOverflow) {
        answer.head += "ERROR\r";
        return answer;
    }
    if (fault) {
        switch (*fault) {
        case Fault::Error:
            answer.head += "ERROR\rOK\r";
            return answer;
        case Fault::ErrorOnly:
            answer.head += "ERROR\r";
            return answer;
        case Fault::NoCarrier:
            answer.head += "NO CARRIER\r";
            return answer;
        case Fault::Garbage:
            answer.head += kGarbageBytes;
            return answer;
        case Fault::EchoOnly:
            return answer;
        case Fault::Split:
            answer.split = true;
            break;
        case Fault::Trickle:
            answer.trickle = true;
            break;
        case Fault::Silence:
            break;
        }
    }

    const Reply reply = m_commands.Answer(line, m_state, Clock::now());
    for (const std::string& value : reply.lines)
        answer.head += value + "\r";
    answer.tail = reply.final + "\r";
    answer.tailDelay = reply.finalDelay;
    if (answer.tailDelay.count() == 0) {
        answer.head += answer.tail;
        answer.tail.clear();
    }
    return answer;
}

void Panel::SendOutbox() {
    std::deque<std::string> outbox;
    {
        std::lock_guard lock(m_mutex);
        outbox.swap(m_outbox);
    }
    if (outbox.empty())
        return;
    WatchClients();
    m_sendSession = m_pty.Session();
    for (const std::string& bytes : outbox) {
        if (Interrupted())
            return;
        Trace("-> ", bytes);
        if (!Send(bytes, false, false))
            return;
    }
}

bool Panel::Send(std::string_view bytes, bool split, bool trickle) {
    if (trickle) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (!SleepUntil(Clock::now() + std::chrono::milliseconds(m_options.trickleMsPerByte)) ||
                !WritePaced(bytes.substr(i, 1)))
                return false;
        }
        return true;
    }
    if (split && bytes.size() >= 3) {
        // Three pieces; the last cut falls inside the final "OK\r", so a reader must join the pieces
        // to see its terminator.
        const std::size_t second = bytes.size() - 2;
        const std::size_t first = second / 2;
        const std::array<std::string_view, 3> pieces{
            bytes.substr(0, first), bytes.substr(first, second - first), bytes.substr(second)};
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            if (i > 0 && !SleepUntil(Clock::now() + kSplitPauses[i - 1]))
                return false;
            if (!WritePaced(pieces[i]))
                return false;
        }
        return true;
    }
    return WritePaced(bytes);
}

bool Panel::WritePaced(std::string_view bytes) {
    if (!m_options.pace)
        return WriteRaw(bytes);
    // Byte k has fully arrived at base + WireTime(k + 1); the line is busy until the last one has.
    const Clock::time_point base = std::max(m_wireFreeAt, Clock::now());
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const Clock::time_point now = Clock::now();
        std::size_t due = sent;
        while (due < bytes.size() && base + WireTime(due + 1) <= now)
            ++due;
        if (due > sent) {
            if (!WriteRaw(bytes.substr(sent, due - sent)))
                return false;
            sent = due;
        } else if (!SleepUntil(base + WireTime(sent + 1))) {
            return false;
        }
    }
    m_wireFreeAt = base + WireTime(bytes.size());
    return true;
}

bool Panel::WriteRaw(std::string_view bytes) {
    // What is sent while no client has the port open, or to a client that has closed it since,
    // is lost, as on a real port; a client that opens the port later must not get it.
    WatchClients();
    if (m_pty.Session() != m_sendSession || (m_pty.WatchFd() >= 0 && m_pty.Clients() == 0))
        return false;
    while (!bytes.empty()) {
        const ssize_t written = ::write(m_pty.MasterFd(), bytes.data(), bytes.size());
        if (written > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && errno != EAGAIN)
            return false;
        // The client does not read and the line's buffer is full: wait for room.
        std::array<pollfd, 2> fds{pollfd{m_wakeRead.Get(), POLLIN, 0}, pollfd{m_pty.MasterFd(), POLLOUT, 0}};
        if (::poll(fds.data(), fds.size(), 100) < 0 && errno != EINTR)
            return false;
        if (Interrupted())
            return false;
        if (fds[0].revents & POLLIN)
            DrainWake();
    }
    return true;
}

bool Panel::SleepUntil(Clock::time_point deadline) {
    for (;;) {
        if (Interrupted())
            return false;
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return true;
        // Wakes early for shutdown and hang-up; the pipe is drained by the main loop.
        pollfd fd{m_wakeRead.Get(), POLLIN, 0};
        const int ready = ::poll(&fd, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        // Another wake-up (unsolicited bytes) is for the main loop, which looks at the outbox anyway.
        if (ready > 0)
            DrainWake();
    }
}

} // namespace sim
