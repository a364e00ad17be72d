#include "shell/ConnectDlg.h"

#include "widgets/MaskEdit.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSerialPortInfo>
#include <QVBoxLayout>

QStringList AvailablePortNames() {
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.systemLocation();
    names.sort();
    return names;
}

void TPortCombo::showPopup() {
    ComPortsDropDown(AvailablePortNames());
    QComboBox::showPopup();
}

void TPortCombo::ComPortsDropDown(const QStringList& ports) {
    const QString typed = currentText();
    clear();
    QStringList sorted = ports;
    sorted.sort();
    addItems(sorted);
    const int match = findText(typed);
    if (match >= 0)
        setCurrentIndex(match);
    else if (!typed.isEmpty())
        setEditText(typed); // a typed path such as the simulator's link is not lost
    else if (count() > 0)
        setCurrentIndex(0);
}

TdlgConnect::TdlgConnect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgConnect"));
    setWindowTitle(QStringLiteral("Соединение"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* label1 = new QLabel(QStringLiteral("Com-порт"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ComPorts = new TPortCombo(this);
    ComPorts->setObjectName(QStringLiteral("ComPorts"));
    ComPorts->setEditable(true);
    ComPorts->setInsertPolicy(QComboBox::InsertAlphabetically);
    ComPorts->setMinimumWidth(140);

    auto* lbKey = new QLabel(QStringLiteral("Мастер-ключ"), this);
    lbKey->setObjectName(QStringLiteral("lbKey"));
    lbKey->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    meMasterKey = new TMaskEdit(QStringLiteral("!9999;1;_"), this);
    meMasterKey->setObjectName(QStringLiteral("meMasterKey"));
    meMasterKey->setMaxLength(4);
    meMasterKey->setText(QStringLiteral("6183"));
    connect(meMasterKey, &QLineEdit::textChanged, this, &TdlgConnect::meMasterKeyChange);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout;
    grid->addWidget(label1, 0, 0);
    grid->addWidget(ComPorts, 0, 1);
    grid->addWidget(lbKey, 1, 0);
    grid->addWidget(meMasterKey, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(241, 107)));
}

void TdlgConnect::meMasterKeyChange() {
    meMasterKey->ApplyNumberRule(4);
}
