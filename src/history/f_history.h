#pragma once

#include "shell/fIn.h"

class QPushButton;
class QTableWidget;

// The history page: one page of the panel's event log in a grid, with its buttons.
class TformHistory : public TPageForm {
    Q_OBJECT
  public:
    static constexpr int kColumns = 11;
    static constexpr int kRows = 33; // row 0 is the header row

    explicit TformHistory(QWidget* parent = nullptr);

    // Empties the page on show before a read.
    void ResetGrid();
    // The default column widths.
    void RestoreColumnWidths();

    QPushButton* btnBackward = nullptr;
    QPushButton* Button2 = nullptr;
    QPushButton* Button1 = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnStart = nullptr;
    QTableWidget* StringGrid1 = nullptr;
};
