#include "link/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

} // namespace

SerialPort::~SerialPort() {
    if (m_fd >= 0)
        ::close(m_fd);
}

void SerialPort::Fail(const char* what) const {
    const int error = errno;
    throw SerialError(QStringLiteral("%1 (%2): %3")
                          .arg(QString::fromLatin1(what), m_device, SystemText(error))
                          .toStdString());
}

void SerialPort::Open(const QString& device) {
    Close();
    m_device = device;
    const QByteArray path = device.toLocal8Bit();
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        Fail("open");
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        Fail("tcgetattr");
    }
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(PARENB | CSIZE | CRTSCTS);
    tio.c_cflag |= CS8 | CSTOPB | CLOCAL | CREAD;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, B19200);
    ::cfsetospeed(&tio, B19200);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        Fail("tcsetattr");
    }
    m_fd = fd;
}

void SerialPort::Close() {
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0)
        Fail("close");
}

int SerialPort::BytesPending() const {
    if (m_fd < 0)
        return 0;
    int pending = 0;
    if (::ioctl(m_fd, FIONREAD, &pending) != 0)
        Fail("ioctl FIONREAD");
    if (pending == 0) {
        // A hung-up line reports no pending bytes; poll tells it apart from a quiet one.
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) && !(p.revents & POLLIN)) {
            errno = (p.revents & POLLNVAL) ? EBADF : EIO;
            Fail("poll");
        }
    }
    return pending;
}

bool SerialPort::WaitForInput(int timeoutMs) {
    if (m_fd < 0)
        return false;
    pollfd p{m_fd, POLLIN, 0};
    int rc;
    do {
        rc = ::poll(&p, 1, timeoutMs);
    } while (rc < 0 && errno == EINTR);
    if (rc < 0)
        Fail("poll");
    if (rc > 0 && (p.revents & (POLLERR | POLLNVAL))) {
        errno = (p.revents & POLLNVAL) ? EBADF : EIO;
        Fail("poll");
    }
    return rc > 0 && (p.revents & POLLIN);
}

QByteArray SerialPort::ReadAvailable() {
    QByteArray out;
    if (m_fd < 0)
        return out;
    char buf[2048];
    for (;;) {
        const ssize_t n = ::read(m_fd, buf, sizeof buf);
        if (n > 0) {
            out.append(buf, n);
            if (n < ssize_t(sizeof buf))
                break;
            continue;
        }
        if (n == 0)
            break;
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            break;
        Fail("read");
    }
    return out;
}

void SerialPort::Write(const QByteArray& bytes) {
    if (m_fd < 0) {
        errno = EBADF;
        Fail("write");
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0) {
            done += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            Fail("write");
        pollfd p{m_fd, POLLOUT, 0};
        const int rc = ::poll(&p, 1, kCallTimeoutMs);
        if (rc == 0) {
            errno = ETIMEDOUT;
            Fail("write");
        }
        if (rc < 0 && errno != EINTR)
            Fail("poll");
    }
}
