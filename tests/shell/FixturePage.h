#pragma once

#include "shell/fIn.h"
#include "widgets/MaskEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <functional>

// A small settings page with one control of every kind the rules know, built like a real page.
// It counts the rule runs a program change must cause.
class TFixturePage : public TformIncl {
  public:
    explicit TFixturePage(const QString& name = QStringLiteral("formFixture")) : TformIncl(name) {
        lbCode = AddLabel(this, QStringLiteral("lbCode"), QStringLiteral("Код"));
        etCode1 = AddEdit(this, QStringLiteral("etCode1"), QStringLiteral("0050"), 4);
        meDelay =
            AddMaskEdit(this, QStringLiteral("meDelay"), QStringLiteral("015"), QStringLiteral("!999;1;_"));
        cbSyr = AddCheckBox(this, QStringLiteral("cbSyr"), QString());
        cbFlag = AddCheckBox(this, QStringLiteral("cbFlag"), QStringLiteral("true"));
        auto* group = AddGroupBox(this, QStringLiteral("gbMode"), QStringLiteral("Режим"));
        rbOff = AddRadioButton(group, QStringLiteral("rbOff"), QStringLiteral("false"));
        rbOn4 = AddRadioButton(group, QStringLiteral("rbOn4"), QStringLiteral("true"));
        rbOn = AddRadioButton(group, QStringLiteral("rbOn"), QStringLiteral("true"));
        cbKind =
            AddComboBox(this, QStringLiteral("cbKind"), QStringLiteral("замкнутое"),
                        {QStringLiteral("Разомкнутое"), QStringLiteral("Замкнутое"), QStringLiteral("Нет")});
        cbIndex = AddComboBox(this, QStringLiteral("cbIndex"), QStringLiteral("2"),
                              {QStringLiteral("0 с"), QStringLiteral("1 с"), QStringLiteral("2 с")});
        seCount = AddSpinEdit(this, QStringLiteral("seCount"), QString(), 0, 100);
        AddButton(this, QStringLiteral("btnStop"), QStringLiteral("Стоп"));

        for (QRadioButton* radio : {rbOff, rbOn4, rbOn})
            connect(radio, &QRadioButton::clicked, this,
                    [this, radio] { clicks.append(radio->objectName()); });
        connect(cbSyr, &QCheckBox::toggled, this, [this] { ++syrToggles; });
    }

    void LoadFromIni(TIniFile& ini) override {
        if (onLoad)
            onLoad(objectName());
        TformIncl::LoadFromIni(ini);
    }

    QLabel* lbCode;
    QLineEdit* etCode1;
    TMaskEdit* meDelay;
    QCheckBox* cbSyr;
    QCheckBox* cbFlag;
    QRadioButton* rbOff;
    QRadioButton* rbOn4;
    QRadioButton* rbOn;
    QComboBox* cbKind;
    QComboBox* cbIndex;
    QSpinBox* seCount;

    QStringList clicks; // radio click rules run, in order
    int syrToggles = 0; // check box rule runs
    std::function<void(const QString&)> onLoad;
};
