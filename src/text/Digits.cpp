#include "text/Digits.h"

QString ZeroPaddedNumber(const QString& text, int digits) {
    QString number = text;
    number.replace(QLatin1Char(' '), QLatin1Char('0'));
    bool ok = false;
    const qlonglong value = number.toLongLong(&ok, 10);
    return QString::number(ok && value >= 0 ? value : 0).rightJustified(digits, QLatin1Char('0'));
}

QString LastCharactersPadded(const QString& text, int width) {
    if (text.size() == width)
        return text;
    return (QString(width, QLatin1Char('0')) + text).right(width);
}
