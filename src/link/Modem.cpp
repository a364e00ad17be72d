#include "link/Modem.h"

#include "text/Cp1251.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/Synchronize.h"

#include <QAbstractButton>
#include <QElapsedTimer>

#include <thread>

namespace {

constexpr std::uint8_t kRebootOperation = 19;

void Sleep(int ms) {
    if (ms > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

} // namespace

TModem::TModem(const QString& portName, std::function<void(std::uint8_t)> runOperation, TOutArray& queue,
               TSynchronizer& sync, TLinks links)
    : m_portName(portName), m_runOperation(std::move(runOperation)), m_queue(queue), m_sync(sync),
      m_links(links) {}

TModem::~TModem() {
    RequestStop();
    wait();
    // Pairs with the store at the end of run(), so everything the thread did is seen as done
    // before the members go (Qt's own wait is invisible to the thread sanitizer).
    (void)m_runEnded.load(std::memory_order_acquire);
}

void TModem::Log(const QString& text) {
    m_queue.PostLog(text, true, true);
}

void TModem::run() {
    m_queue.SetStopCheck([this] { return StopRequested(); });
    Log(QStringLiteral(" # Поток начал работу"));
    m_operation.store(1);
    while (!m_port.IsOpen() && !StopRequested())
        OpenPort();
    if (!StopRequested()) {
        while (!StopRequested()) {
            try {
                m_runOperation(m_operation.load());
            } catch (const std::exception& e) {
                Log(QStringLiteral(" # !!! ") + QString::fromStdString(e.what()));
                RequestStop();
            }
        }
        try {
            m_runOperation(kRebootOperation);
        } catch (const std::exception& e) {
            Log(QStringLiteral(" # !!! ") + QString::fromStdString(e.what()));
        }
    }
    ClosePort();
    Log(QStringLiteral(" # Поток завершил работу"));
    if (m_links.disconnectButton) {
        bool enabled = false;
        m_sync.Synchronize([&] { enabled = m_links.disconnectButton->isEnabled(); });
        if (enabled)
            m_queue.PostControl(m_links.disconnectButton, QStringLiteral("Click"));
    }
    m_queue.SetStopCheck({}); // the next producer brings its own
    m_runEnded.store(true, std::memory_order_release);
}

void TModem::OpenPort() {
    ClosePort();
    m_queue.PostControl(m_links.statusLine, QStringLiteral("Открываем COM порт: ") + m_portName);
    try {
        m_port.Open(m_portName);
        Log(QStringLiteral(" # Успешно открыли COM порт: ") + m_portName);
        m_queue.PostControl(m_links.statusLine, QStringLiteral("Успешно открыли COM порт: ") + m_portName);
    } catch (const SerialError& e) {
        Log(QStringLiteral(" # !!! Ошибка открытия COM порта: ") + QString::fromLocal8Bit(e.what()));
        m_queue.PostControl(m_links.statusLine,
                            QStringLiteral("Ошибка при открытии COM порта: ") + m_portName);
        RequestStop();
    }
}

void TModem::ClosePort() {
    if (!m_port.IsOpen())
        return;
    try {
        m_port.Close();
        Log(QStringLiteral(" # Успешно закрыли COM порт: ") + m_portName);
    } catch (const SerialError& e) {
        Log(QStringLiteral(" # !!! Ошибка закрытия COM порта: ") + QString::fromLocal8Bit(e.what()));
    }
}

void TModem::WriteText(const QString& text) {
    m_port.Write(ToCp1251(text));
}

bool TModem::Collect(QString& reply, int timeoutMs, int pollMs, bool honourStop,
                     const std::function<bool(const QString&)>& found) {
    reply.clear();
    QElapsedTimer clock;
    clock.start();
    try {
        for (;;) {
            if (clock.elapsed() > timeoutMs)
                return false;
            if (honourStop && StopRequested())
                return false;
            while (m_port.BytesPending() > 0 && !(honourStop && StopRequested()))
                reply += FromCp1251(m_port.ReadAvailable());
            if (found(reply))
                return true;
            // Wakes as soon as input arrives instead of sleeping the whole period.
            m_port.WaitForInput(pollMs);
        }
    } catch (const SerialError& e) {
        Log(QStringLiteral(" # !!! Ошибка при чтении данных из COM порта: ") +
            QString::fromLocal8Bit(e.what()));
        RequestStop();
        return false;
    }
}

bool TModem::ReadUntil(QString& reply, int timeoutMs, const QString& terminator) {
    const QString wanted = terminator.toUpper();
    return Collect(reply, timeoutMs, 50, true,
                   [&](const QString& text) { return text.toUpper().contains(wanted); });
}

bool TModem::ReadUntilAny(QString& reply, const QStringList& words, int timeoutMs) {
    return Collect(reply, timeoutMs, 50, true, [&](const QString& text) {
        for (const QString& word : words) {
            if (text.contains(word, Qt::CaseSensitive))
                return true;
        }
        return false;
    });
}

bool TModem::WaitReply(QString& reply, int timeoutMs, const QString& terminator) {
    const QString wanted = terminator.toUpper();
    return Collect(reply, timeoutMs, 10, false,
                   [&](const QString& text) { return text.toUpper().contains(wanted); });
}

void TModem::FlushInput() {
    if (!m_port.IsOpen())
        return;
    Sleep(2);
    QString collected;
    try {
        while (m_port.BytesPending() > 0 && !StopRequested())
            collected += FromCp1251(m_port.ReadAvailable());
    } catch (const SerialError& e) {
        Log(QStringLiteral(" # !!! Ошибка при чтении данных из COM порта: ") +
            QString::fromLocal8Bit(e.what()));
        RequestStop();
    }
    if (!collected.isEmpty()) {
        m_queue.PostLog(QStringLiteral("<<<<- ") + collected, false, false);
        CheckReply(collected);
    }
}

bool TModem::SendCommand(const QString& command, QString& reply, int delayMs, bool log, bool strict,
                         const QString& terminator, int timeoutMs, int attempts) {
    reply.clear();
    if (!m_port.IsOpen())
        return true;
    if (log)
        Log(QStringLiteral("-> com: ") + command);
    bool failed = true;
    try {
        for (int n = 0; n < attempts && !StopRequested();) {
            FlushInput();
            Sleep(delayMs);
            failed = true;
            if (StopRequested())
                return true;
            reply.clear();
            if (attempts != 1 && log)
                Log(QStringLiteral(" # Попытка № ") + QString::number(n + 1));
            WriteText(command + QLatin1Char('\r'));
            Sleep(delayMs);
            bool found;
            if (!terminator.isEmpty()) {
                found = ReadUntil(reply, timeoutMs, terminator);
            } else {
                found = ReadUntil(reply, timeoutMs, QStringLiteral("\r"));
                // The first line was the echo: the next line is the reply. Whatever already came
                // after the echo is kept, so a reply that arrived with it ends the wait at once.
                const qsizetype echoAt = reply.indexOf(command);
                if (found && echoAt >= 0 && command != QLatin1String("AT")) {
                    const qsizetype afterEcho = reply.indexOf(QLatin1Char('\r'), echoAt) + 1;
                    if (afterEcho <= 0 || reply.indexOf(QLatin1Char('\r'), afterEcho) < 0) {
                        QString rest;
                        found = ReadUntil(rest, timeoutMs, QStringLiteral("\r"));
                        reply += rest;
                    }
                }
            }
            if (log)
                Log(QStringLiteral("<- com:  ") + reply);
            const qsizetype echo = reply.indexOf(command);
            if (echo >= 0)
                reply = reply.mid(echo + command.size());
            if (found)
                return false;
            failed = reply.isEmpty() || strict;
            ++n;
        }
    } catch (const SerialError& e) {
        Log(QStringLiteral(" # !!! Ошибка при отправке команды COM порту: ") +
            QString::fromLocal8Bit(e.what()));
        RequestStop();
        return true;
    }
    return failed;
}

TReplyCheck TModem::CheckReply(const QString& reply) {
    for (const char* word : {"NO CARRIER", "DISCONNECT", "BUSY"}) {
        if (reply.contains(QLatin1String(word), Qt::CaseSensitive)) {
            Log(QStringLiteral("ОШИБКА! Цифровое соединение разорвано!"));
            RequestStop();
            return LinkLost;
        }
    }
    if (reply.contains(QLatin1String("ERROR"), Qt::CaseSensitive))
        return ReplyError;
    return ReplyClean;
}
