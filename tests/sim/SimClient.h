#pragma once

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <string_view>
#include <unistd.h>
#include <utility>

// A bare raw client of the simulated panel's port: what the tool's serial code does, minus the tool.
class SimClient {
  public:
    explicit SimClient(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~SimClient() { Close(); }
    SimClient(const SimClient&) = delete;
    SimClient& operator=(const SimClient&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    void Close() {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }

    bool Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = ::write(m_fd, bytes.data(), bytes.size());
            if (written > 0) {
                bytes.remove_prefix(static_cast<std::size_t>(written));
            } else if (written < 0 && errno == EAGAIN) {
                pollfd fd{m_fd, POLLOUT, 0};
                ::poll(&fd, 1, 100);
            } else if (!(written < 0 && errno == EINTR)) {
                return false;
            }
        }
        return true;
    }

    // Everything read until terminator appears in it, or until timeoutMs has passed.
    std::string ReadUntil(std::string_view terminator, int timeoutMs = 5000) {
        std::string got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (got.find(terminator) == std::string::npos && ReadSome(got, deadline)) {
        }
        return got;
    }

    // Everything read until count carriage returns have come, or until timeoutMs has passed.
    std::string ReadLines(std::size_t count, int timeoutMs = 5000) {
        std::string got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
        while (static_cast<std::size_t>(std::count(got.begin(), got.end(), '\r')) < count &&
               ReadSome(got, deadline)) {
        }
        return got;
    }

    // Everything that arrives within ms.
    std::string ReadFor(int ms) {
        std::string got;
        const auto deadline = Clock::now() + std::chrono::milliseconds(ms);
        while (ReadSome(got, deadline)) {
        }
        return got;
    }

    // Writes line + "\r" and reads the reply up to terminator.
    std::string Ask(const std::string& line, std::string_view terminator = "OK\r", int timeoutMs = 5000) {
        if (!Write(line + "\r"))
            return {};
        return ReadUntil(terminator, timeoutMs);
    }

    // One read once input or a hang-up is there: its result and errno.
    std::pair<ssize_t, int> ReadOnce(int timeoutMs) {
        pollfd fd{m_fd, POLLIN, 0};
        ::poll(&fd, 1, timeoutMs);
        char buffer[256];
        const ssize_t got = ::read(m_fd, buffer, sizeof buffer);
        return {got, got < 0 ? errno : 0};
    }

  private:
    using Clock = std::chrono::steady_clock;

    // Appends what arrives before deadline; false once the deadline has passed or the line failed.
    bool ReadSome(std::string& got, Clock::time_point deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0)
            return false;
        pollfd fd{m_fd, POLLIN, 0};
        if (::poll(&fd, 1, static_cast<int>(left.count())) <= 0)
            return false;
        char buffer[4096];
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            got.append(buffer, static_cast<std::size_t>(n));
            return true;
        }
        return n < 0 && (errno == EAGAIN || errno == EINTR);
    }

    int m_fd;
};
