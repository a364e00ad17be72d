#pragma once

#include <QString>

// Outcome of the checksum check of a Contact ID message.
enum class TChecksum {
    Ok,         // character 16 is the expected checksum
    Wrong,      // character 16 is something else
    Undecodable // one of characters 1 to 15 is not a hexadecimal digit, or the text is shorter than 16
};

// One Contact ID message as the panel reports it: 16 characters, account (1-4), message type (5-6),
// qualifier (7), event code (8-10), group or partition (11-12), zone or user (13-15), checksum (16).
// Accessors of a shorter text return what is there (possibly nothing).
class TContactID {
  public:
    TContactID() = default;
    explicit TContactID(const QString& text) : m_text(text) {}

    void create(const QString& text) { m_text = text; }
    const QString& text() const { return m_text; }

    QString account() const { return m_text.mid(0, 4); }
    QString qualifier() const { return m_text.mid(6, 1); }
    QString eventCode() const { return m_text.mid(7, 3); }
    QString group() const { return m_text.mid(10, 2); }
    QString zone() const { return m_text.mid(12, 3); }

    // True when every character is one of "+,/0123456789:>ABCDEF" (upper case only); "" is valid.
    static bool ValidCharacters(QStringView text);

    // The digit values of all 16 characters ("0" and "A" counting 10) must sum to a multiple of 15.
    // Undecodable is the error case: the caller shows the record as erroneous rather than "wrong".
    [[nodiscard]] TChecksum ChecksumOk() const;

  private:
    QString m_text;
};
