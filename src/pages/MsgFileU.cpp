#include "pages/MsgFileU.h"

#include "protocol/DevOrvel.h"
#include "text/Cp1251.h"
#include "text/HexDigit.h"

#include <QFile>

#include <cstdint>
#include <limits>

std::optional<int> ParseColourValue(QStringView text) {
    if (text.startsWith(u'$')) {
        const QStringView digits = text.mid(1);
        if (digits.isEmpty() || digits.size() > 8)
            return std::nullopt;
        uint32_t value = 0;
        for (QChar c : digits) {
            const int digit = HexDigitValue(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<uint32_t>(digit);
        }
        // Eight digits may set the top bit ("$FF000005"): the value wraps to a negative int, as colours do.
        return static_cast<int32_t>(value);
    }
    qsizetype pos = 0;
    bool negative = false;
    if (pos < text.size() && (text[pos] == u'+' || text[pos] == u'-')) {
        negative = text[pos] == u'-';
        ++pos;
    }
    if (pos == text.size())
        return std::nullopt;
    int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

QColor WindowsColourToQColor(int value) {
    const auto bits = static_cast<uint32_t>(value);
    return QColor(bits & 0xFF, (bits >> 8) & 0xFF, (bits >> 16) & 0xFF);
}

bool IsRestoreText(QStringView text) {
    return text.contains(u"ВОССТ", Qt::CaseSensitive);
}

bool TMsgFile::load(const QString& path) {
    m_rows.clear();
    m_errorString.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_errorString = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_errorString = file.errorString();
        return false;
    }
    // cp1251 maps "|", CR and LF to themselves, so splitting after the conversion is safe.
    const QString content = FromCp1251(bytes);
    for (QStringView line : QStringView(content).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!line.contains(u'|'))
            continue;
        QStringList row;
        for (QStringView part : line.split(u'|'))
            row.append(part.toString());
        m_rows.append(std::move(row));
    }
    return true;
}

int TMsgFile::fieldCount(int row) const {
    return row >= 0 && row < m_rows.size() ? static_cast<int>(m_rows[row].size()) : 0;
}

QString TMsgFile::field(int row, int index) const {
    if (row < 0 || row >= m_rows.size())
        return {};
    const QStringList& fields = m_rows[row];
    if (index < 0 || index >= fields.size())
        return {};
    return fields[index];
}

int TMsgFile::IndexOfCode(const QString& key) const {
    int position = 0;
    for (const QStringList& row : m_rows) {
        const QString& text = row.value(kTextField);
        if (IsRestoreText(text))
            continue;
        if (!text.isEmpty() && row.value(kKeyField).contains(key))
            return position;
        ++position;
    }
    return 0;
}

QString TMsgFile::TextOfCode(const QString& key) const {
    for (const QStringList& row : m_rows) {
        if (row.value(kKeyField) == key && !row.value(kTextField).isEmpty())
            return row.value(kTextField);
    }
    return QStringLiteral(" ");
}

TMsgColours TMsgFile::ColoursOfCode(const QString& key) const {
    // The first row with the key and a non-empty field decides, even when that field is no number.
    const auto colourOf = [&](int index, int fallback) {
        for (const QStringList& row : m_rows) {
            if (row.value(kKeyField) == key && !row.value(index).isEmpty())
                return ParseColourValue(row.value(index)).value_or(fallback);
        }
        return fallback;
    };
    return {colourOf(kBackgroundField, TMsgColours::kDefaultBackground),
            colourOf(kTextColourField, TMsgColours::kDefaultText)};
}

QStringList TMsgFile::CodeListItems() const {
    QStringList items;
    for (const QStringList& row : m_rows) {
        const QString& text = row.value(kTextField);
        if (IsRestoreText(text))
            continue;
        const QString& key = row.value(kKeyField);
        items.append((key.isEmpty() ? QString() : key.chopped(1)) + QStringLiteral(": ") + text);
    }
    return items;
}

void WriteSystemTexts(TDevOrvel& device, const TMsgFile& catalogue) {
    // A cancel or an error reply left over from an earlier operation must not swallow this one.
    device.Aborted.store(false);
    for (int slot = 0; slot < int(kSystemTextKeys.size()); ++slot) {
        if (device.Aborted.load() || device.StopRequested())
            return;
        const QString command = QStringLiteral("+AD%1=").arg(slot, 2, 16, QLatin1Char('0')).toUpper() +
                                catalogue.TextOfCode(QLatin1String(kSystemTextKeys[size_t(slot)]));
        QString reply;
        if (!device.Request(command, reply))
            return;
    }
}
