#pragma once

#include <string>

namespace sim {

// Owns one file descriptor.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : m_fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.Release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd() { Reset(); }

    int Get() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    int Release();
    void Reset(int fd = -1);

  private:
    int m_fd = -1;
};

// A raw pseudo-terminal whose slave side plays the panel's serial port.
//
// The simulator keeps a slave descriptor of its own, so the master never sees a hang-up while the
// tool closes and reopens the port. That same descriptor would keep bytes the tool never read for
// its next session, which a real port drops; so opens and closes of the slave are watched and the
// slave's input is discarded when a client opens it and when the last client closes it.
class Pty {
  public:
    // Throws std::system_error when the system refuses a step.
    Pty();

    const std::string& SlavePath() const { return m_slavePath; }
    int MasterFd() const { return m_master.Get(); }
    // Readable when a client opened or closed the slave; -1 when the system cannot watch.
    int WatchFd() const { return m_watch.Get(); }
    void OnWatchReadable();
    int Clients() const { return m_clients; }
    // Changes whenever the slave's input was discarded because a client came or went.
    unsigned Session() const { return m_session; }
    // Closes the master (the client sees the line hang up) and everything else.
    void Close();
    bool IsOpen() const { return m_master.IsOpen(); }

  private:
    void DiscardSlaveInput();

    UniqueFd m_master;
    UniqueFd m_slave;
    UniqueFd m_watch;
    std::string m_slavePath;
    int m_clients = 0;
    unsigned m_session = 0;
};

} // namespace sim
