#pragma once

#include "shell/fIn.h"

#include <QLineEdit>

// The page "formATests". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformATests : public TPageForm {
    Q_OBJECT
  public:
    explicit TformATests(QWidget* parent = nullptr) : TPageForm(QStringLiteral("formATests"), parent) {}

    // Before a read the mains event delay shows its factory default again.
    void RestoreDelayDefault() {
        if (auto* delay = qobject_cast<QLineEdit*>(FindField(u"ewi")))
            delay->setText(delay->toolTip());
    }
};
