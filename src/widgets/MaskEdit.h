#pragma once

#include <QLineEdit>
#include <QList>
#include <QString>

// An edit mask in the classic toolkit syntax, "mask;save-literals;blank", e.g. "!999 . 999;1;_".
// There '9' is an optional digit and '0' a required one, the opposite of a Qt input mask.
struct TEditMask {
    QString Source;             // the mask as given
    QString QtMask;             // the same mask as a Qt input mask, blank included ("000 . 000;_")
    QChar Blank = u'_';         // shown in unfilled positions
    bool SaveLiterals = true;   // second field; kept for completeness, the shown text always has them
    bool LeadingBlanks = false; // '!': unfilled optional positions count as leading blanks
    QList<bool> InputPositions; // per shown character: true for an input position, false for a literal
};

// Pure translation of a classic mask; an empty mask gives an empty Qt mask (no mask at all).
TEditMask ParseEditMask(QStringView mask);

// The one masked edit of the program. Set values with setText (typed-input semantics) or
// SetEditText (position for position); the change rule of a page connects to textChanged.
class TMaskEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit TMaskEdit(QWidget* parent = nullptr);
    explicit TMaskEdit(const QString& mask, QWidget* parent = nullptr);

    void SetMask(const QString& mask);
    QString Mask() const { return m_mask.Source; }

    // The text as shown, literals included, every unfilled position a blank: "5   ", "192 . 1   . ...".
    QString EditText() const;

    // EditText with the typed characters of each field (run of input positions between literals)
    // moved to one side: to the right for a '!' mask, so unfilled positions read as leading blanks
    // ("5___" gives "   5"), to the left otherwise. What a change rule that pads with zeros reads.
    QString AlignedText() const;

    // A text of the mask's full length (as EditText gives it) is placed position for position,
    // its blanks at input positions staying unfilled; any other text goes through setText.
    void SetEditText(const QString& text);

    // The rule of numeric code fields, run from their change handler: blanks become "0", the
    // text reads as a decimal number (0 when it does not) and shows with `digits` digits.
    void ApplyNumberRule(int digits);

  private:
    TEditMask m_mask;
};
