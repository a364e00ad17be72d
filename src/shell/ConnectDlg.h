#pragma once

#include <QComboBox>
#include <QDialog>

class QLabel;
class QPushButton;
class TMaskEdit;

// The port list refills itself each time it drops down.
class TPortCombo : public QComboBox {
    Q_OBJECT
  public:
    using QComboBox::QComboBox;
    void showPopup() override;
    // Fills the list from the given port names, keeping a typed name that is not among them.
    void ComPortsDropDown(const QStringList& ports);
};

// Port names offered by the system: QSerialPortInfo's device paths, sorted.
QStringList AvailablePortNames();

// The connect dialog: COM port and master key.
class TdlgConnect : public QDialog {
    Q_OBJECT
  public:
    explicit TdlgConnect(QWidget* parent = nullptr);

    TPortCombo* ComPorts = nullptr;
    TMaskEdit* meMasterKey = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    QString PortName() const { return ComPorts->currentText().trimmed(); }

  private:
    void meMasterKeyChange();
};
