#pragma once

#include "shell/fIn.h"

#include <cstdint>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QCheckBox;
class TDevOrvel;
class TMaskEdit;

// Panel clock "H:M:S D/M/Y" as "DD/MM/YY HH:MM:SS".
QString FormatPanelDateTime(const QString& text);

// "Общие настройки": object number, master key, alarm-button mode, siren, the panel clock and the
// service buttons.
class TformCommon : public TformIncl {
    Q_OBJECT
  public:
    explicit TformCommon(QWidget* parent = nullptr);

    // The window hands the page its ways to the worker.
    std::function<void(std::uint8_t code)> requestOperation; // nothing happens without a worker
    std::function<void()> rebootAndReconnect;

    void SetServiceButtonsEnabled(bool enabled);

    QLineEdit* etO = nullptr;
    QLineEdit* etTime = nullptr;
    TMaskEdit* meMasterKey = nullptr;
    QCheckBox* cbSyr = nullptr;
    QRadioButton* rbAlarmBtnOff = nullptr;
    QRadioButton* rbAlarmBtnOn4 = nullptr;
    QRadioButton* rbAlarmBtnOn = nullptr;
    QLabel* lbO = nullptr;
    QLabel* lbetTime = nullptr;
    QLabel* lbKey = nullptr;
    QLabel* lbAlarmBtnOn = nullptr;
    QLabel* lbAlarmBtnOn4 = nullptr;
    QLabel* lbAlarmBtnOff = nullptr;
    QLabel* lbSyr = nullptr;
    QPushButton* btnStop = nullptr;
    QPushButton* btnStart = nullptr;
    QPushButton* btnReboot = nullptr;
    QPushButton* btLamptest = nullptr;
    QPushButton* btnWriteText = nullptr;

  private:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void etOKeyPress(QKeyEvent* key, bool& drop);
    void meMasterKeyChange();
    void Request(std::uint8_t code);
};

// The page's panel routines, run on the worker.
void ReadCommonSettings(TDevOrvel& device, TformCommon& page);
void WriteCommonSettings(TDevOrvel& device, TformCommon& page);
