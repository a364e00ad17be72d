#include "shell/fWaiting.h"

#include <QLabel>
#include <QVBoxLayout>

TfWaiting::TfWaiting(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("fWaiting"));
    setFixedSize(301, 50);
    setWindowOpacity(215.0 / 255.0);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel(QStringLiteral("Пожалуйста, подождите. Идет удаление истории..."), this);
    text->setAlignment(Qt::AlignCenter);
    layout->addWidget(text);
    if (mainWindow) {
        const QRect outer = mainWindow->frameGeometry();
        move(outer.center() - rect().center());
    }
}
