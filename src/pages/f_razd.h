#pragma once

#include "shell/fIn.h"

// The page "formRazd". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformRazd : public TformIncl {
    Q_OBJECT
  public:
    explicit TformRazd(QWidget* parent = nullptr) : TformIncl(QStringLiteral("formRazd"), parent) {}
};
