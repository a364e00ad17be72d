#include "pages/ContactID.h"

#include "text/HexDigit.h"

bool TContactID::ValidCharacters(QStringView text) {
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const bool ok = (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || u == u'+' || u == u',' ||
                        u == u'/' || u == u':' || u == u'>';
        if (!ok)
            return false;
    }
    return true;
}

TChecksum TContactID::ChecksumOk() const {
    // A short text has no checksum to compare; treat it like an unreadable digit, not as a mismatch.
    if (m_text.size() < 16)
        return TChecksum::Undecodable;
    int sum = 0;
    for (int i = 0; i < 15; ++i) {
        const int value = HexDigitValue(m_text[i]);
        if (value < 0)
            return TChecksum::Undecodable;
        sum += value == 0 ? 10 : value;
    }
    const int r = sum % 15;
    // r = 0..5 needs "f".."a" (15..10); r = 6..14 the digit 15 - r. A checksum of 10 is never "0".
    const QChar expected = r <= 5 ? QChar(u'f' - r) : QChar(u'0' + (15 - r));
    return m_text[15].toLower() == expected ? TChecksum::Ok : TChecksum::Wrong;
}
