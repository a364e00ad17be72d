#include "sim/Pty.h"

#include <array>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <stdlib.h>
#include <sys/inotify.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace sim {

namespace {

[[noreturn]] void ThrowErrno(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

} // namespace

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other)
        Reset(other.Release());
    return *this;
}

int UniqueFd::Release() {
    const int fd = m_fd;
    m_fd = -1;
    return fd;
}

void UniqueFd::Reset(int fd) {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = fd;
}

Pty::Pty() {
    m_master.Reset(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK));
    if (!m_master.IsOpen())
        ThrowErrno("posix_openpt");
    if (grantpt(m_master.Get()) != 0)
        ThrowErrno("grantpt");
    if (unlockpt(m_master.Get()) != 0)
        ThrowErrno("unlockpt");
    std::array<char, 256> name{};
    if (ptsname_r(m_master.Get(), name.data(), name.size()) != 0)
        ThrowErrno("ptsname_r");
    m_slavePath = name.data();

    m_slave.Reset(::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
    if (!m_slave.IsOpen())
        ThrowErrno("open pty slave");
    termios settings{};
    if (tcgetattr(m_slave.Get(), &settings) != 0)
        ThrowErrno("tcgetattr");
    cfmakeraw(&settings);
    cfsetispeed(&settings, B19200);
    cfsetospeed(&settings, B19200);
    settings.c_cflag |= CSTOPB | CLOCAL | CREAD;
    if (tcsetattr(m_slave.Get(), TCSANOW, &settings) != 0)
        ThrowErrno("tcsetattr");

    // Watching is a refinement; without it the port still works.
    m_watch.Reset(inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
    if (m_watch.IsOpen() && inotify_add_watch(m_watch.Get(), m_slavePath.c_str(), IN_OPEN | IN_CLOSE) < 0)
        m_watch.Reset();
}

void Pty::OnWatchReadable() {
    alignas(inotify_event) std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t got = ::read(m_watch.Get(), buffer.data(), buffer.size());
        if (got <= 0)
            return;
        for (std::size_t offset = 0; offset + sizeof(inotify_event) <= static_cast<std::size_t>(got);) {
            inotify_event event;
            std::memcpy(&event, buffer.data() + offset, sizeof event);
            offset += sizeof(inotify_event) + event.len;
            if (event.mask & IN_OPEN) {
                if (++m_clients == 1)
                    DiscardSlaveInput();
            }
            if (event.mask & IN_CLOSE) {
                m_clients = m_clients > 0 ? m_clients - 1 : 0;
                if (m_clients == 0)
                    DiscardSlaveInput();
            }
        }
    }
}

void Pty::DiscardSlaveInput() {
    ++m_session;
    if (m_slave.IsOpen())
        tcflush(m_slave.Get(), TCIFLUSH);
}

void Pty::Close() {
    m_watch.Reset();
    m_master.Reset();
    m_slave.Reset();
}

} // namespace sim
