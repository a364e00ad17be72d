#pragma once

#include <QDialog>

class QPushButton;
class TPanel;

// The connection dialog: the worker writes its status line and clicks the hidden OK button once
// the panel is connected.
class TdlgSplash : public QDialog {
    Q_OBJECT
  public:
    explicit TdlgSplash(QWidget* parent = nullptr);

    TPanel* StatusLine = nullptr;
    QPushButton* HiddenOk = nullptr;
    QPushButton* CancelBtn = nullptr;
};
