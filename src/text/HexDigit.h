#pragma once

#include <QChar>

// Value of one hexadecimal digit ("0"-"9", "A"-"F", "a"-"f"), or -1 for any other character.
constexpr int HexDigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    return -1;
}
