#pragma once

#include <QDialog>
#include <QStringList>

// The firmware update dialog for an image carried by the program. Until the program carries an
// image it only keeps the state the connect command reads, and is never offered.
class TformUpdateIns : public QDialog {
    Q_OBJECT
  public:
    enum TState { StateIdle = 0, StateRunning = 1, StateFailed = 2, StateFinished = 3 };

    explicit TformUpdateIns(QWidget* parent = nullptr);

    int State() const { return m_state; }
    void SetState(int state) { m_state = state; }
    const QStringList& ImageLines() const { return m_memRes; }
    int ImageMajor() const { return m_imageMajor; }
    int ImageMinor() const { return m_imageMinor; }

    // After a connection: shown when an image is carried and the panel's firmware is older.
    bool PanelIsOlder(int panelMajor, int panelMinor) const;
    void OfferUpdate(int panelMajor, int panelMinor);

  private:
    int m_state = StateIdle;
    QStringList m_memRes; // line 0 the version text, then the Intel HEX records
    int m_imageMajor = -1;
    int m_imageMinor = -1;
};
