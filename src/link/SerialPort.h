#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

// An error of the serial layer; its text is the system's own reason.
class SerialError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A thin layer over a named serial device with the panel's line settings: 19200 baud, 8 data
// bits, no parity, 2 stop bits, raw, no flow control, modem lines left alone. No thread affinity;
// real ttys and pseudo-terminals behave the same.
class SerialPort {
  public:
    // Blocking reads and writes give up after this long, as the port driver of the panel does.
    static constexpr int kCallTimeoutMs = 4500;

    SerialPort() = default;
    ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void Open(const QString& device); // throws SerialError
    void Close();                     // throws SerialError
    bool IsOpen() const { return m_fd >= 0; }

    int BytesPending() const;            // throws SerialError
    bool WaitForInput(int timeoutMs);    // true when input is pending; throws SerialError
    QByteArray ReadAvailable();          // reads what is pending without blocking; throws SerialError
    void Write(const QByteArray& bytes); // throws SerialError, also on a write time-out

  private:
    [[noreturn]] void Fail(const char* what) const;
    int m_fd = -1;
    QString m_device;
};
