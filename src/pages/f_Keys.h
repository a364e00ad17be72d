#pragma once

#include "shell/fIn.h"

// The page "formKeys". Its fields come with their own work; the page already takes its place in the
// window, the page tree and the walk of read-all and write-all.
class TformKeys : public TformIncl {
    Q_OBJECT
  public:
    explicit TformKeys(QWidget* parent = nullptr) : TformIncl(QStringLiteral("formKeys"), parent) {}
};
