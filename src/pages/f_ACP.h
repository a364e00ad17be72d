#pragma once

#include "shell/fIn.h"

// The page "formACP". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformACP : public TformIncl {
    Q_OBJECT
  public:
    explicit TformACP(QWidget* parent = nullptr) : TformIncl(QStringLiteral("formACP"), parent) {}
};
