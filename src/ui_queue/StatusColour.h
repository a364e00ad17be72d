#pragma once

#include <QColor>

class QWidget;

// Status colours of labels and fields. An invalid QColor stands for the normal colour: the
// palette's window text for a label, the palette's base for an edit box, check box or radio button.
inline const QColor kStatusBlue{0, 0, 255};
inline const QColor kStatusRed{255, 0, 0};

// Label: font colour; edit box, check box, radio button: background; other controls: nothing.
void SetStatusColour(QWidget* control, const QColor& colour);

// The colour a status label shows now; invalid when it shows the normal colour.
QColor StatusColour(const QWidget* control);
