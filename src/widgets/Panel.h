#pragma once

#include <QLabel>

// A framed panel whose caption is its text (the connection dialog's status line, for one).
// Its own class so the update queue can tell a caption record from an enable record.
class TPanel : public QLabel {
    Q_OBJECT
  public:
    explicit TPanel(const QString& caption = {}, QWidget* parent = nullptr) : QLabel(caption, parent) {
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setAlignment(Qt::AlignCenter);
    }
};
