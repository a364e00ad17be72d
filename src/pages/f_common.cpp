#include "pages/f_common.h"

#include "link/Modem.h"
#include "protocol/DevOrvel.h"
#include "text/Digits.h"
#include "text/HexDigit.h"
#include "ui_queue/OutArray.h"
#include "ui_queue/StatusColour.h"
#include "widgets/MaskEdit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kObjectDefault = QStringLiteral("0050");

QString TwoDigits(const QString& part) {
    const QString trimmed = part.trimmed();
    return trimmed.size() == 1 ? QLatin1Char('0') + trimmed : trimmed;
}

} // namespace

QString FormatPanelDateTime(const QString& text) {
    const qsizetype colon1 = text.indexOf(QLatin1Char(':'));
    const QString hours = TwoDigits(text.left(std::max<qsizetype>(colon1, 0)));
    const QString afterHours = colon1 >= 0 ? text.mid(colon1 + 1) : QString();
    const qsizetype colon2 = afterHours.indexOf(QLatin1Char(':'));
    const QString minutes = TwoDigits(afterHours.left(std::max<qsizetype>(colon2, 0)));
    const QString afterMinutes = colon2 >= 0 ? afterHours.mid(colon2 + 1) : QString();
    const QString seconds = TwoDigits(afterMinutes.left(2));
    const QString date = afterMinutes.mid(2).trimmed();
    const qsizetype slash1 = date.indexOf(QLatin1Char('/'));
    const QString day = TwoDigits(date.left(std::max<qsizetype>(slash1, 0)));
    const QString afterDay = slash1 >= 0 ? date.mid(slash1 + 1) : QString();
    const qsizetype slash2 = afterDay.indexOf(QLatin1Char('/'));
    const QString month = TwoDigits(afterDay.left(std::max<qsizetype>(slash2, 0)));
    const QString year = TwoDigits(slash2 >= 0 ? afterDay.mid(slash2 + 1, 2) : QString());
    return day + QLatin1Char('/') + month + QLatin1Char('/') + year + QLatin1Char(' ') + hours +
           QLatin1Char(':') + minutes + QLatin1Char(':') + seconds;
}

TformCommon::TformCommon(QWidget* parent) : TformIncl(QStringLiteral("formCommon"), parent) {
    auto* outer = new QHBoxLayout(this);
    auto* fields = new QWidget(this);
    auto* grid = new QGridLayout(fields);
    grid->setContentsMargins(0, 0, 0, 0);

    // Controls are created in the order their keys take in the settings file.
    auto* boxTime = AddGroupBox(TPlace(grid, 1, 0), QStringLiteral("gbTime"), QStringLiteral("Дата и Время"));
    auto* timeLayout = new QHBoxLayout(boxTime);
    grid->setAlignment(boxTime, Qt::AlignTop); // as tall as its one line, not as its neighbour
    lbetTime = AddLabel(timeLayout, QStringLiteral("lbetTime"), QStringLiteral("Время на устройстве"));
    etTime = AddEdit(timeLayout, QStringLiteral("etTime"), QString());
    etTime->setReadOnly(true);
    etTime->setFocusPolicy(Qt::NoFocus);
    etTime->setMinimumWidth(140);

    auto* boxObject = AddGroupBox(TPlace(grid, 0, 0), QStringLiteral("gbObject"), QStringLiteral("Объект"));
    auto* objectLayout = new QHBoxLayout(boxObject);
    lbO = AddLabel(objectLayout, QStringLiteral("lbO"), QStringLiteral("Номер объекта"));
    etO = AddEdit(objectLayout, QStringLiteral("etO"), kObjectDefault, 4);
    etO->setMaximumWidth(70);
    etO->setText(kObjectDefault);
    etO->installEventFilter(this);
    connect(etO, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (text != text.toUpper())
            etO->setText(text.toUpper());
    });
    objectLayout->addStretch();

    auto* boxKey = AddGroupBox(TPlace(grid, 0, 1), QStringLiteral("gbKey"), QStringLiteral("Мастер-ключ"));
    auto* keyLayout = new QHBoxLayout(boxKey);
    lbKey = AddLabel(keyLayout, QStringLiteral("lbKey"), QStringLiteral("Мастер-ключ"));
    meMasterKey = AddMaskEdit(keyLayout, QStringLiteral("meMasterKey"), QStringLiteral("6183"),
                              QStringLiteral("!9999;1;_"));
    meMasterKey->setMaxLength(4);
    meMasterKey->setMaximumWidth(70);
    connect(meMasterKey, &QLineEdit::textChanged, this, &TformCommon::meMasterKeyChange);
    meMasterKey->setText(meMasterKey->toolTip());
    keyLayout->addStretch();

    auto* boxSiren =
        AddGroupBox(TPlace(grid, 2, 0, 1, 2), QStringLiteral("gbSiren"), QStringLiteral("Сирена"));
    auto* sirenLayout = new QHBoxLayout(boxSiren);
    cbSyr = AddCheckBox(sirenLayout, QStringLiteral("cbSyr"), QString());
    lbSyr = AddLabel(sirenLayout, QStringLiteral("lbSyr"),
                     QStringLiteral("Включение сирены при нажатии кнопки \"Экстренная помощь\""));
    sirenLayout->addStretch();

    auto* boxButtons =
        AddGroupBox(TPlace(grid, 1, 1), QStringLiteral("gbAlarmButtons"), QStringLiteral("Тревожные кнопки"));
    auto* buttonsLayout = new QVBoxLayout(boxButtons);
    auto* boxModes = AddGroupBox(buttonsLayout, QStringLiteral("gbModes"),
                                 QStringLiteral("Режимы работы тревожных кнопок"));
    auto* modes = new QGridLayout(boxModes);
    rbAlarmBtnOff =
        AddRadioButton(TPlace(modes, 2, 0), QStringLiteral("rbAlarmBtnOff"), QStringLiteral("false"));
    rbAlarmBtnOn4 =
        AddRadioButton(TPlace(modes, 1, 0), QStringLiteral("rbAlarmBtnOn4"), QStringLiteral("true"));
    rbAlarmBtnOn =
        AddRadioButton(TPlace(modes, 0, 0), QStringLiteral("rbAlarmBtnOn"), QStringLiteral("true"));
    lbAlarmBtnOn = AddLabel(TPlace(modes, 0, 1), QStringLiteral("lbAlarmBtnOn"),
                            QStringLiteral("Мгновенно срабатывают"));
    lbAlarmBtnOn4 = AddLabel(TPlace(modes, 1, 1), QStringLiteral("lbAlarmBtnOn4"),
                             QStringLiteral("Непрерывно держать 4 секунды "));
    lbAlarmBtnOff =
        AddLabel(TPlace(modes, 2, 1), QStringLiteral("lbAlarmBtnOff"), QStringLiteral("Выключены"));
    modes->setColumnStretch(1, 1);
    // A click on a mode's text selects its button.
    for (QLabel* label : {lbAlarmBtnOn, lbAlarmBtnOn4, lbAlarmBtnOff})
        label->installEventFilter(this);
    rbAlarmBtnOn->setChecked(true);

    auto* service = new QVBoxLayout;
    btnStop = AddButton(service, QStringLiteral("btnStop"), QStringLiteral("Остановить панель"));
    btnStart = AddButton(service, QStringLiteral("btnStart"), QStringLiteral("Запустить панель"));
    btnReboot = AddButton(service, QStringLiteral("btnReboot"), QStringLiteral("Перезагрузить панель"));
    btLamptest = AddButton(service, QStringLiteral("btLamptest"), QStringLiteral("Тест светодиодов панели"));
    btnWriteText =
        AddButton(service, QStringLiteral("btnWriteText"), QStringLiteral("Записать текстовые сообщения"));
    // clang-format off
    auto* note = new QLabel(QStringLiteral("* Запись текстовых сообщений необходима для корректного отображения информации об охранно-пожарной панели \"Орвел 11\" на WEB-странице."), this);
    // clang-format on
    note->setWordWrap(true);
    service->addWidget(note);
    service->addStretch();
    grid->setRowStretch(3, 1); // the boxes keep their height, the rest stays below them
    outer->addWidget(fields, 3);
    outer->addLayout(service, 1);

    connect(btnStop, &QPushButton::clicked, this, [this] { Request(OpStopPanel); });
    connect(btnStart, &QPushButton::clicked, this, [this] { Request(OpStartPanel); });
    connect(btLamptest, &QPushButton::clicked, this, [this] { Request(OpLampTest); });
    connect(btnWriteText, &QPushButton::clicked, this, [this] { Request(OpWriteTexts); });
    connect(btnReboot, &QPushButton::clicked, this, [this] {
        if (rebootAndReconnect)
            rebootAndReconnect();
    });
    SetServiceButtonsEnabled(false);
}

void TformCommon::SetServiceButtonsEnabled(bool enabled) {
    for (QPushButton* button : {btnStop, btnStart, btnReboot, btLamptest, btnWriteText})
        button->setEnabled(enabled);
}

void TformCommon::Request(std::uint8_t code) {
    if (requestOperation)
        requestOperation(code);
}

bool TformCommon::eventFilter(QObject* watched, QEvent* event) {
    if (watched == etO && event->type() == QEvent::KeyPress) {
        bool drop = false;
        etOKeyPress(static_cast<QKeyEvent*>(event), drop);
        return drop;
    }
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == lbAlarmBtnOn)
            rbAlarmBtnOn->click();
        else if (watched == lbAlarmBtnOn4)
            rbAlarmBtnOn4->click();
        else if (watched == lbAlarmBtnOff)
            rbAlarmBtnOff->click();
    }
    return TformIncl::eventFilter(watched, event);
}

void TformCommon::etOKeyPress(QKeyEvent* key, bool& drop) {
    const QString text = key->text();
    if (text.size() != 1 || !text[0].isPrint())
        return; // editing keys (Backspace, arrows, short-cuts) pass
    if (HexDigitValue(text[0]) < 0) {
        drop = true;
        return;
    }
    if (text[0].isLower()) {
        etO->insert(text.toUpper());
        drop = true;
    }
}

void TformCommon::meMasterKeyChange() {
    meMasterKey->ApplyNumberRule(4);
}

// ---- Panel routines ---------------------------------------------------------------------------

void ReadCommonSettings(TDevOrvel& device, TformCommon& page) {
    if (device.Aborted.load())
        return;
    TOutArray& queue = device.Queue();
    try {
        QString reply;
        device.QueryField(QStringLiteral("+o"), page.lbO, reply);
        if (!reply.isEmpty())
            queue.PostControl(page.etO, reply);
        if (device.Aborted.load())
            return;
        device.QueryField(QStringLiteral("+AC"), page.lbetTime, reply);
        if (!reply.isEmpty())
            queue.PostControl(page.etTime, FormatPanelDateTime(reply));
        if (device.Aborted.load())
            return;
        device.QueryField(QStringLiteral("+FMR"), page.lbKey, reply);
        if (!reply.isEmpty())
            queue.PostControl(page.meMasterKey, reply);
        if (device.Aborted.load())
            return;
        const bool ok = device.Request(QStringLiteral("+C"), reply);
        for (QLabel* label : {page.lbAlarmBtnOn, page.lbAlarmBtnOn4, page.lbAlarmBtnOff})
            queue.PostColor(label, ok ? kStatusBlue : kStatusRed);
        if (ok && !reply.isEmpty()) {
            const QChar mode = reply[0];
            QRadioButton* selected = mode == u'0'   ? page.rbAlarmBtnOn
                                     : mode == u'2' ? page.rbAlarmBtnOn4
                                     : mode == u'1' ? page.rbAlarmBtnOff
                                                    : nullptr;
            if (selected)
                queue.PostControl(selected, QStringLiteral("true"));
        }
        if (device.Aborted.load())
            return;
        device.QueryField(QStringLiteral("+yt"), page.lbSyr, reply);
        if (!reply.isEmpty())
            queue.PostChecked(page.cbSyr, reply == QLatin1String("1"));
    } catch (const std::exception&) {
        if (TModem* worker = device.Worker())
            worker->Log(QStringLiteral("Ошибка при чтении общих настроек!"));
    }
}

void WriteCommonSettings(TDevOrvel& device, TformCommon& page) {
    if (device.Aborted.load())
        return;
    TOutArray& queue = device.Queue();
    try {
        QString reply;
        QString object = LastCharactersPadded(device.FieldText(page.etO), 4);
        if (object == QLatin1String("0000"))
            object = kObjectDefault; // the factory default takes its place
        queue.PostControl(page.etO, object);
        queue.PostColor(page.lbO,
                        device.Request(QStringLiteral("+o=") + object, reply) ? kStatusBlue : kStatusRed);
        if (device.Aborted.load())
            return;

        const QString key = LastCharactersPadded(device.FieldText(page.meMasterKey), 4);
        queue.PostControl(page.meMasterKey, key);
        queue.PostColor(page.lbKey,
                        device.Request(QStringLiteral("+FMW=") + key, reply) ? kStatusBlue : kStatusRed);
        if (device.Aborted.load())
            return;

        QString code;
        bool siren = false;
        device.Synchronize([&] {
            code = page.rbAlarmBtnOn->isChecked()    ? QStringLiteral("0")
                   : page.rbAlarmBtnOn4->isChecked() ? QStringLiteral("2")
                   : page.rbAlarmBtnOff->isChecked() ? QStringLiteral("1")
                                                     : QString();
            siren = page.cbSyr->isChecked();
        });
        const QColor modeColour =
            device.Request(QStringLiteral("+C=") + code, reply) ? kStatusBlue : kStatusRed;
        for (QLabel* label : {page.lbAlarmBtnOn, page.lbAlarmBtnOn4, page.lbAlarmBtnOff})
            queue.PostColor(label, modeColour);
        if (device.Aborted.load())
            return;

        device.QueryField(QStringLiteral("+yt=") + (siren ? QLatin1Char('1') : QLatin1Char('0')), page.lbSyr,
                          reply);
    } catch (const std::exception&) {
        if (TModem* worker = device.Worker())
            worker->Log(QStringLiteral("Ошибка при записи общих настроек!"));
    }
}
