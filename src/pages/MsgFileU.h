#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

#include <optional>

// Background and text colour of a history row, as Windows colour values 0x00BBGGRR.
struct TMsgColours {
    static constexpr int kDefaultBackground = 16777215; // white
    static constexpr int kDefaultText = 0;              // black

    int m_background = kDefaultBackground;
    int m_text = kDefaultText;
};

// A colour field of the catalogue: a decimal integer (optional sign) or "$" and 1 to 8 hexadecimal
// digits (wrapping to a signed 32-bit value). Anything else, blanks included, is not a colour.
std::optional<int> ParseColourValue(QStringView text);

// A Windows colour value 0x00BBGGRR: red is the low byte. The high byte (system colour flag) is ignored.
QColor WindowsColourToQColor(int value);

// True when a catalogue text marks a restore row: it holds "ВОССТ" in upper case.
bool IsRestoreText(QStringView text);

// The event message catalogue (Messages.txt): one row per line that holds at least one "|", each row
// the list of its fields in file order. Field 0 is the key (event code and qualifier digit, "1301"),
// field 1 the text, fields 2 and 3 the background and text colours of history rows.
// Immutable once loaded, so several threads may read it at the same time.
class TMsgFile {
  public:
    static constexpr int kKeyField = 0;
    static constexpr int kTextField = 1;
    static constexpr int kBackgroundField = 2;
    static constexpr int kTextColourField = 3;

    // Replaces the catalogue with the rows of the file (cp1251, CR LF or LF line ends). On failure the
    // catalogue is left empty, the result is false and errorString() holds the system's reason.
    bool load(const QString& path);
    const QString& errorString() const { return m_errorString; }

    int count() const { return static_cast<int>(m_rows.size()); }
    // Number of fields of row `row` (at least 2: every row had a bar); 0 when there is no such row.
    int fieldCount(int row) const;
    // Field `index` (from 0) of row `row` (from 0); empty when either does not exist.
    QString field(int row, int index) const;

    // Position of the first non-restore row whose key holds `key` among all non-restore rows, which is
    // its item index in the zones page's code lists; 0 when there is none.
    int IndexOfCode(const QString& key) const;
    // Text of the first row whose key is `key` and whose text is not empty; " " when there is none.
    QString TextOfCode(const QString& key) const;
    // Colours of the first rows with key `key` that carry the respective field; defaults otherwise.
    TMsgColours ColoursOfCode(const QString& key) const;

    // Items of the zones page's code lists: for each non-restore row in file order, the key without
    // its qualifier digit, ": " and the text ("130: Тревога по зоне").
    QStringList CodeListItems() const;

  private:
    QList<QStringList> m_rows;
    QString m_errorString;
};

class TDevOrvel;

// Keys of the 13 system events whose texts fill the panel's text slots 00 to 0C, in slot order.
inline constexpr std::array<const char*, 13> kSystemTextKeys{
    "1201", "1001", "1101", "1391", "3013", "3011", "6021", "3051", "3091", "1393", "4023", "4021", "1211"};

// The event text operation: "+AD" + slot + "=" + text for slots 00 to 0C, stopping at the first
// request that fails or once the operation is cancelled.
void WriteSystemTexts(TDevOrvel& device, const TMsgFile& catalogue);
