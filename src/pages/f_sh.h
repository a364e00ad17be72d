#pragma once

#include "shell/fIn.h"

// The page "formShleif". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformShleif : public TformIncl {
    Q_OBJECT
  public:
    explicit TformShleif(QWidget* parent = nullptr) : TformIncl(QStringLiteral("formShleif"), parent) {}
};
