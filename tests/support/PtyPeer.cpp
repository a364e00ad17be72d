#include "support/PtyPeer.h"

#include <QElapsedTimer>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

PtyPeer::PtyPeer() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0)
        throw std::runtime_error("no pseudo-terminal");
    m_slavePath = QString::fromLocal8Bit(::ptsname(m_master));
    m_holdSlave = ::open(m_slavePath.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    ::tcgetattr(m_holdSlave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_holdSlave, TCSANOW, &tio);
    ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPeer::~PtyPeer() {
    Close();
}

void PtyPeer::Close() {
    if (m_holdSlave >= 0)
        ::close(m_holdSlave);
    if (m_master >= 0)
        ::close(m_master);
    m_holdSlave = m_master = -1;
}

void PtyPeer::Write(const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EAGAIN && errno != EINTR)
            return;
    }
}

QByteArray PtyPeer::ReadUntil(const QByteArray& until, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const qsizetype at = m_pending.indexOf(until);
        if (at >= 0) {
            QByteArray out = m_pending.left(at + until.size());
            m_pending.remove(0, at + until.size());
            return out;
        }
        const qint64 left = timeoutMs - clock.elapsed();
        if (left <= 0)
            break;
        pollfd p{m_master, POLLIN, 0};
        if (::poll(&p, 1, int(left)) > 0 && (p.revents & POLLIN)) {
            char buf[1024];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n > 0) {
                m_pending.append(buf, n);
                m_received.append(buf, n);
            }
        }
    }
    QByteArray out = m_pending;
    m_pending.clear();
    return out;
}

QByteArray PtyPeer::ReadAvailable(int timeoutMs) {
    pollfd p{m_master, POLLIN, 0};
    if (m_pending.isEmpty() && ::poll(&p, 1, timeoutMs) <= 0)
        return {};
    for (;;) {
        char buf[1024];
        const ssize_t n = ::read(m_master, buf, sizeof buf);
        if (n <= 0)
            break;
        m_pending.append(buf, n);
        m_received.append(buf, n);
    }
    QByteArray out = m_pending;
    m_pending.clear();
    return out;
}
