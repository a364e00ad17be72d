#include "shell/SplashDlg.h"

#include "widgets/Panel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TdlgSplash::TdlgSplash(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("dlgSplash"));
    setWindowTitle(QStringLiteral("Подключение"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* heading = new TPanel(QStringLiteral("Состояние подключения"), this);
    heading->setObjectName(QStringLiteral("pHeading"));
    heading->setFrameShadow(QFrame::Raised);
    StatusLine = new TPanel(QString(), this);
    StatusLine->setObjectName(QStringLiteral("pStatus"));
    QFont bold = StatusLine->font();
    bold.setBold(true);
    StatusLine->setFont(bold);
    StatusLine->setWordWrap(true);
    StatusLine->setMinimumHeight(36);

    HiddenOk = new QPushButton(QStringLiteral("OK"), this);
    HiddenOk->setObjectName(QStringLiteral("btnOk"));
    HiddenOk->hide();
    HiddenOk->setAutoDefault(false);
    CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
    CancelBtn->setObjectName(QStringLiteral("btnCancel"));
    connect(HiddenOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(HiddenOk);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(StatusLine);
    layout->addLayout(buttons);
    setFixedSize(565, 142);
}
