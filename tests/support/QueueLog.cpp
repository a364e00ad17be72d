#include "support/QueueLog.h"

#include <QRegularExpression>

QString Unstamped(const QString& line) {
    // The stamp is the date, a blank, the time as HH:mm:ss and a blank.
    static const QRegularExpression stamp(QStringLiteral("^[^ ]+ \\d\\d:\\d\\d:\\d\\d "));
    const QRegularExpressionMatch match = stamp.match(line);
    return match.hasMatch() ? line.mid(match.capturedLength()) : line;
}
QStringList TakeLogLines(TOutArray& queue, const TApplyContext& context) {
    QStringList lines;
    while (auto record = queue.Take()) {
        if (record->Kind == kMemoOut) {
            const auto& memo = static_cast<const TMemoOut&>(*record);
            lines << (memo.Show ? QString() : QStringLiteral("(hidden) ")) + Unstamped(memo.Text);
        } else {
            ApplyRecord(*record, context);
        }
    }
    return lines;
}
