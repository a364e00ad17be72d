#include "widgets/MaskEdit.h"

#include "text/Digits.h"

#include <algorithm>

namespace {

// Characters with a meaning in a Qt input mask; as literals they need a backslash.
bool IsQtMaskMeta(QChar c) {
    return QStringView(u"AaNnXx90Dd#HhBb<>!{}[]\\;").contains(c);
}

// The classic mask's letters and the Qt letters that mean the same.
QChar QtMaskLetter(QChar c) {
    switch (c.unicode()) {
    case u'L':
        return u'A'; // letter, required
    case u'l':
        return u'a'; // letter, optional
    case u'A':
        return u'N'; // letter or digit, required
    case u'a':
        return u'n'; // letter or digit, optional
    case u'C':
        return u'X'; // any character, required
    case u'c':
        return u'x'; // any character, optional
    case u'0':
        return u'9'; // digit, required
    case u'9':
        return u'0'; // digit, optional
    case u'#':
        return u'#'; // digit or sign, optional
    default:
        return {};
    }
}

// Splits "mask;save;blank" at separators that are not escaped.
QList<QStringView> SplitMaskFields(QStringView mask) {
    QList<QStringView> fields;
    qsizetype start = 0;
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'\\') {
            ++i;
        } else if (mask[i] == u';' && fields.size() < 2) {
            fields.append(mask.mid(start, i - start));
            start = i + 1;
        }
    }
    fields.append(mask.mid(start));
    return fields;
}

} // namespace

TEditMask ParseEditMask(QStringView mask) {
    TEditMask result;
    result.Source = mask.toString();
    if (mask.isEmpty())
        return result;
    const QList<QStringView> fields = SplitMaskFields(mask);
    if (fields.size() > 1)
        result.SaveLiterals = fields[1].trimmed() != u"0";
    if (fields.size() > 2 && !fields[2].isEmpty())
        result.Blank = fields[2].front();

    const QStringView body = fields[0];
    QString qt;
    auto addLiteral = [&](QChar c) {
        if (IsQtMaskMeta(c))
            qt += u'\\';
        qt += c;
        result.InputPositions.append(false);
    };
    for (qsizetype i = 0; i < body.size(); ++i) {
        const QChar c = body[i];
        if (c == u'\\') {
            if (i + 1 < body.size())
                addLiteral(body[++i]);
        } else if (c == u'!') {
            result.LeadingBlanks = true;
        } else if (c == u'<' && i + 1 < body.size() && body[i + 1] == u'>') {
            qt += u'!'; // "<>": no case conversion from here on
            ++i;
        } else if (c == u'>' || c == u'<') {
            qt += c;
        } else if (c == u'_') {
            addLiteral(u' ');
        } else if (const QChar letter = QtMaskLetter(c); !letter.isNull()) {
            qt += letter;
            result.InputPositions.append(true);
        } else {
            addLiteral(c);
        }
    }
    if (qt.isEmpty())
        return result;
    result.QtMask = qt + u';' + result.Blank;
    return result;
}

TMaskEdit::TMaskEdit(QWidget* parent) : QLineEdit(parent) {}

TMaskEdit::TMaskEdit(const QString& mask, QWidget* parent) : QLineEdit(parent) {
    SetMask(mask);
}

void TMaskEdit::SetMask(const QString& mask) {
    m_mask = ParseEditMask(mask);
    setInputMask(m_mask.QtMask);
}

QString TMaskEdit::EditText() const {
    if (m_mask.QtMask.isEmpty())
        return text();
    QString shown = displayText();
    const qsizetype n = std::min<qsizetype>(shown.size(), m_mask.InputPositions.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (m_mask.InputPositions[i] && shown[i] == m_mask.Blank)
            shown[i] = u' ';
    }
    return shown;
}

QString TMaskEdit::AlignedText() const {
    QString shown = EditText();
    if (m_mask.QtMask.isEmpty())
        return shown;
    const qsizetype n = std::min<qsizetype>(shown.size(), m_mask.InputPositions.size());
    qsizetype i = 0;
    while (i < n) {
        if (!m_mask.InputPositions[i]) {
            ++i;
            continue;
        }
        qsizetype end = i;
        QString typed;
        while (end < n && m_mask.InputPositions[end]) {
            if (shown[end] != u' ')
                typed += shown[end];
            ++end;
        }
        const qsizetype width = end - i;
        const QString field =
            m_mask.LeadingBlanks ? typed.rightJustified(width, u' ') : typed.leftJustified(width, u' ');
        shown.replace(i, width, field);
        i = end;
    }
    return shown;
}

void TMaskEdit::SetEditText(const QString& text) {
    if (m_mask.QtMask.isEmpty() || text.size() != m_mask.InputPositions.size()) {
        setText(text);
        return;
    }
    QString placed = text;
    for (qsizetype i = 0; i < placed.size(); ++i) {
        if (m_mask.InputPositions[i] && placed[i] == u' ')
            placed[i] = m_mask.Blank;
    }
    setText(placed);
}

void TMaskEdit::ApplyNumberRule(int digits) {
    const QString normal = ZeroPaddedNumber(AlignedText(), digits);
    if (EditText() != normal) {
        const int cursor = cursorPosition();
        setText(normal);
        setCursorPosition(cursor);
    }
}
