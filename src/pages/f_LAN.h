#pragma once

#include "shell/fIn.h"

// The page "formLAN". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformLAN : public TformIncl {
    Q_OBJECT
  public:
    explicit TformLAN(QWidget* parent = nullptr) : TformIncl(QStringLiteral("formLAN"), parent) {}
};
