#include "platform/xls/CellText.h"

#include <QDate>

#include <cmath>
#include <cstdio>

namespace sortilo::xls {

namespace {

QString stripZeros(QString s) {
    if (s.contains(QLatin1Char('.'))) {
        while (s.endsWith(QLatin1Char('0'))) {
            s.chop(1);
        }
        if (s.endsWith(QLatin1Char('.'))) {
            s.chop(1);
        }
    }
    return s;
}

QString numberText(double v) {
    if (v == 0) {
        return QStringLiteral("0");
    }
    // Round to 15 significant digits first; the rounded exponent picks the form.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", v);
    const QString sci = QString::fromLatin1(buf);
    const qsizetype ePos = sci.indexOf(QLatin1Char('e'));
    const int exponent = sci.mid(ePos + 1).toInt();
    if (exponent >= -4 && exponent < 15) {
        std::snprintf(buf, sizeof buf, "%.*f", 14 - exponent, v);
        return stripZeros(QString::fromLatin1(buf));
    }
    const QString mantissa = stripZeros(sci.left(ePos));
    const QString digits = QString::number(std::abs(exponent)).rightJustified(2, QLatin1Char('0'));
    return mantissa + (exponent < 0 ? QLatin1String("E-") : QLatin1String("E+")) + digits;
}

// Dates are serials of the 1900 date system: day 1 is 1900-01-01 and day 60 the 1900-02-29
// that spreadsheet programs keep for compatibility.
std::optional<QString> dateText(double serial) {
    constexpr double LastDay = 2958466.0;  // 10000-01-01
    if (!(serial >= 0 && serial < LastDay)) {
        return std::nullopt;
    }
    const auto seconds = static_cast<long long>(std::llround(serial * 86400.0));
    const long long day = seconds / 86400;
    const long long inDay = seconds % 86400;
    const QString time = QStringLiteral("%1:%2:%3")
                             .arg(inDay / 3600)
                             .arg((inDay / 60) % 60, 2, 10, QLatin1Char('0'))
                             .arg(inDay % 60, 2, 10, QLatin1Char('0'));
    if (day == 0) {
        return time;
    }
    QString date;
    if (day == 60) {
        date = QStringLiteral("1900/2/29");
    } else {
        const QDate d = QDate(1899, 12, 31).addDays(day < 60 ? day : day - 1);
        date = QStringLiteral("%1/%2/%3").arg(d.year()).arg(d.month()).arg(d.day());
    }
    return inDay == 0 ? date : date + QLatin1Char(' ') + time;
}

}  // namespace

std::optional<QString> valueAsText(const CellValue& value) {
    switch (value.kind) {
        case CellValue::Kind::Empty:
            return QString();
        case CellValue::Kind::Text:
            return value.text;
        case CellValue::Kind::Number:
            if (!std::isfinite(value.number)) {
                return std::nullopt;
            }
            return numberText(value.number);
        case CellValue::Kind::Date:
            if (auto d = dateText(value.number)) {
                return d;
            }
            // Outside the calendar a spreadsheet program shows no date; the number stands.
            return std::isfinite(value.number) ? std::optional(numberText(value.number))
                                               : std::nullopt;
        case CellValue::Kind::Bool:
            return value.boolean ? QStringLiteral("True") : QStringLiteral("False");
        case CellValue::Kind::Error:
            return std::nullopt;
    }
    return std::nullopt;
}

QString cellName(int row, int column) {
    QString letters;
    for (int c = column; c > 0; c = (c - 1) / 26) {
        letters.prepend(QChar(u'A' + (c - 1) % 26));
    }
    return letters + QString::number(row);
}

}  // namespace sortilo::xls
