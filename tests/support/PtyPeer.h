#pragma once

#include <QByteArray>
#include <QString>

#include "support/QtPrint.h"

// The far end of a pseudo-terminal, scripted by a test: the code under test opens SlavePath() as
// its serial port; the test reads what it wrote and writes the panel's side.
class PtyPeer {
  public:
    PtyPeer();
    ~PtyPeer();
    PtyPeer(const PtyPeer&) = delete;
    PtyPeer& operator=(const PtyPeer&) = delete;

    QString SlavePath() const { return m_slavePath; }
    void Write(const QByteArray& bytes);
    // Collects what the other side wrote until `until` occurs in it or the time runs out.
    QByteArray ReadUntil(const QByteArray& until, int timeoutMs);
    // Everything the other side wrote so far, waiting up to timeoutMs for the first bytes.
    QByteArray ReadAvailable(int timeoutMs = 0);
    // Every byte received so far (also those handed out by the reads above).
    QByteArray Received() const { return m_received; }
    void Close();

  private:
    int m_master = -1;
    int m_holdSlave = -1; // keeps the pty alive while the code under test reopens it
    QString m_slavePath;
    QByteArray m_pending;
    QByteArray m_received;
};
