#pragma once

#include "link/SerialPort.h"

#include <QStringList>
#include <QThread>

#include <atomic>
#include <cstdint>
#include <functional>

class QAbstractButton;
class TOutArray;
class TSynchronizer;
class QWidget;

// Result codes of CheckReply.
enum TReplyCheck : int { ReplyClean = 0, LinkLost = 1, ReplyError = 2 };

// Controls of the main window the worker touches, through the update queue only.
struct TModemLinks {
    QWidget* statusLine = nullptr;               // the connection dialog's status line
    QAbstractButton* disconnectButton = nullptr; // "Отключиться", clicked when the worker ends
};

// The worker thread of one connection. It owns the serial port, runs the operation loop of the
// protocol object, and offers the byte-level primitives the protocol is built on.
class TModem : public QThread {
  public:
    using TLinks = TModemLinks;

    TModem(const QString& portName, std::function<void(std::uint8_t)> runOperation, TOutArray& queue,
           TSynchronizer& sync, TLinks links = {});
    ~TModem() override;

    void SetOperation(std::uint8_t code) { m_operation.store(code); }
    std::uint8_t CurrentOperation() const { return m_operation.load(); }
    void RequestStop() { m_stopRequested.store(true); }
    bool StopRequested() const { return m_stopRequested.load(); }
    const QString& PortName() const { return m_portName; }
    bool PortOpen() const { return m_port.IsOpen(); }

    void OpenPort();
    void ClosePort();
    void WriteText(const QString& text); // throws SerialError
    void FlushInput();
    bool ReadUntil(QString& reply, int timeoutMs, const QString& terminator);
    bool ReadUntilAny(QString& reply, const QStringList& words, int timeoutMs);
    bool WaitReply(QString& reply, int timeoutMs, const QString& terminator);
    // Returns true when the exchange failed. An empty terminator means none: the reply line ends it.
    bool SendCommand(const QString& command, QString& reply, int delayMs, bool log, bool strict,
                     const QString& terminator, int timeoutMs, int attempts);
    TReplyCheck CheckReply(const QString& reply);

    void Log(const QString& text);

  protected:
    void run() override;

  private:
    bool Collect(QString& reply, int timeoutMs, int pollMs, bool honourStop,
                 const std::function<bool(const QString&)>& found);

    const QString m_portName;
    const std::function<void(std::uint8_t)> m_runOperation;
    TOutArray& m_queue;
    TSynchronizer& m_sync;
    const TLinks m_links;
    SerialPort m_port; // used by one thread at a time: the worker, or whoever holds it suspended
    std::atomic<std::uint8_t> m_operation{1}; // written by the main thread and the worker
    std::atomic<bool> m_stopRequested{false}; // written by the main thread and the worker
    std::atomic<bool> m_runEnded{false};      // written by the worker as its last act
};
