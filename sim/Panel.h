#pragma once

#include "sim/Commands.h"
#include "sim/Faults.h"
#include "sim/PanelState.h"
#include "sim/Pty.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace sim {

struct Options {
    bool echo = true;
    // Send at the panel's wire speed, 19200 baud 8N2 (11 bits a byte).
    bool pace = false;
    // When set, a symbolic link to the port is kept there while the panel lives.
    std::string symlinkPath;
    // Pause before each byte of a Trickle reply.
    int trickleMsPerByte = 20;
    // Called on the panel's thread with a note for each line received and each reply sent.
    std::function<void(std::string_view)> trace;
};

// A simulated "Орвел 11" on a pseudo-terminal. A thread of its own reads the command lines the
// tool writes to PortPath() and answers them from PanelState through the command table.
class Panel {
  public:
    // Throws std::system_error when the pseudo-terminal or the link cannot be made.
    explicit Panel(Options options = {});
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The slave side, e.g. /dev/pts/7.
    std::string PortPath() const { return m_pty.SlavePath(); }

    // Runs f(PanelState&) under the panel's lock and returns what f returns; f must not call the panel.
    template <typename F> auto WithState(F&& f) {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(m_state);
    }
    template <typename F> auto WithState(F&& f) const {
        std::lock_guard lock(m_mutex);
        return std::forward<F>(f)(static_cast<const PanelState&>(m_state));
    }

    // Misbehave on command lines that start with prefix; times < 0: until cleared.
    void SetFault(std::string prefix, Fault fault, int times = -1);
    void ClearFaults();
    // Puts bytes on the line as soon as no reply is being sent.
    void SendUnsolicited(std::string bytes);

    // Every line received, without its "\r", in order; junk lines such as "[" included.
    std::vector<std::string> Received() const;
    std::string ReceivedBytes() const;
    void ClearReceived();
    // True once a line equal to line has been received (and answered as far as the state goes).
    bool WaitForLine(const std::string& line, int timeoutMs);

    // How many clients have the port open, as far as the panel has seen; a client's leftover
    // input is discarded when it closes, so wait for 0 before a test reopens the port at once.
    // Always 0 where the system cannot watch the port.
    int Clients() const;
    bool WaitForClients(int count, int timeoutMs);

    // Closes the line: the client's reads and writes fail from now on. Returns when it is closed.
    void Hangup();

  private:
    // What the panel sends for one line.
    struct Answer {
        std::string head;
        std::string tail; // sent after tailDelay
        std::chrono::milliseconds tailDelay{0};
        bool split = false;
        bool trickle = false;
    };

    void Run();
    void OnInput();
    void OnLine(const std::string& line);
    Answer Plan(const std::string& line);
    void SendOutbox();
    bool Send(std::string_view bytes, bool split, bool trickle);
    bool WritePaced(std::string_view bytes);
    bool WriteRaw(std::string_view bytes);
    // Sleeps until deadline; false when the panel is shutting down or hanging up.
    bool SleepUntil(std::chrono::steady_clock::time_point deadline);
    bool Interrupted() const { return m_stopRequested || m_hangupRequested; }
    void Wake();
    void WatchClients();
    void DrainWake();
    void CloseLine();
    void Trace(std::string_view what, std::string_view bytes) const;
    void MakeSymlink();

    const Options m_options;
    const CommandTable m_commands;
    Pty m_pty;
    UniqueFd m_wakeRead;
    UniqueFd m_wakeWrite;

    // Guarded by m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    PanelState m_state;
    FaultRules m_faults;
    std::deque<std::string> m_outbox;
    std::vector<std::string> m_received;
    std::string m_receivedBytes;
    bool m_lineClosed = false;
    int m_clients = 0;

    // Written by the test's thread (and the destructor), read by the panel's thread.
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_hangupRequested{false};

    // The panel's thread only.
    std::string m_lineBuffer;
    bool m_lineOverflow = false;
    std::chrono::steady_clock::time_point m_wireFreeAt{};
    // The port session what is being sent belongs to; it is dropped once a client came or went.
    unsigned m_sendSession = 0;

    bool m_ownsSymlink = false;
    std::thread m_thread; // last: starts after everything above is ready
};

// Shows bytes readably: "\r" as \r, other control and non-ASCII bytes as \xNN.
std::string Printable(std::string_view bytes);

} // namespace sim
