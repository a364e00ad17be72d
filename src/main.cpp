#include "shell/MainForm.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvel11-config"));
    QApplication::setApplicationDisplayName(QStringLiteral("Настройка \"Орвел 11\""));
    TForm1 window(TForm1::TOptions{});
    window.show();
    return app.exec();
}
