#pragma once

#include <QString>

// The rule of numeric code fields: blanks become "0", the text reads as a decimal number (0 when it
// does not) and is shown with at least `digits` digits, leading zeros added.
QString ZeroPaddedNumber(const QString& text, int digits);

// Brings a text to exactly `width` characters the way the panel's four-character values are made:
// a text of another length gets `width` zeros in front and keeps its last `width` characters.
QString LastCharactersPadded(const QString& text, int width);
