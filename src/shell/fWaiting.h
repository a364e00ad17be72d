#pragma once

#include <QWidget>

// The borderless, translucent note shown while the panel erases its event log.
class TfWaiting : public QWidget {
    Q_OBJECT
  public:
    explicit TfWaiting(QWidget* mainWindow);
};
