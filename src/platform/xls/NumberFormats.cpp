#include "platform/xls/NumberFormats.h"

namespace sortilo::xls {

namespace {

// Built-in ids with date/time formats; 27-36 and 50-58 are the East-Asian date formats
// (年/月/日 and era years), 71-81 the Thai ones.
bool isBuiltinDate(int id) {
    return (id >= 14 && id <= 22) || (id >= 27 && id <= 36) || (id >= 45 && id <= 47) ||
           (id >= 50 && id <= 58) || (id >= 71 && id <= 81);
}

// A bracket section: elapsed-time fields ([h], [mm], [ss]) count as time, colours, locale
// tags, conditions and [DBNum1] count for nothing.
bool isElapsedTime(const QString& inside) {
    if (inside.isEmpty()) {
        return false;
    }
    const QChar first = inside[0].toLower();
    if (first != QLatin1Char('h') && first != QLatin1Char('m') && first != QLatin1Char('s')) {
        return false;
    }
    for (QChar c : inside) {
        if (c.toLower() != first) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool isDateFormat(int id, const QString& formatString, bool stored) {
    if (!stored) {
        return isBuiltinDate(id);
    }
    QString f = formatString;
    f.replace(QLatin1String("general"), QLatin1String(" "), Qt::CaseInsensitive);
    int dateChars = 0;
    int numberChars = 0;
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar c = f[i].toLower();
        const char16_t u = c.unicode();
        if (u == '"') {
            const qsizetype end = f.indexOf(QLatin1Char('"'), i + 1);
            i = end < 0 ? f.size() : end;
        } else if (u == '\\' || u == '_' || u == '*') {
            ++i;  // an escaped character, a space as wide as one, a fill character
        } else if (u == '[') {
            const qsizetype end = f.indexOf(QLatin1Char(']'), i + 1);
            const QString inside = f.mid(i + 1, end < 0 ? -1 : end - i - 1);
            dateChars += isElapsedTime(inside) ? 1 : 0;
            i = end < 0 ? f.size() : end;
        } else if (u == 'y' || u == 'm' || u == 'd' || u == 'h' || u == 's') {
            ++dateChars;
        } else if (u == 'e') {
            // "E+" / "E-" is scientific notation; a lone e is the era year of Taiwanese dates.
            const bool scientific =
                i + 1 < f.size() && (f[i + 1] == QLatin1Char('+') || f[i + 1] == QLatin1Char('-'));
            (scientific ? numberChars : dateChars) += 1;
        } else if (u == '0' || u == '#' || u == '?') {
            ++numberChars;
        }
    }
    return dateChars > numberChars;
}

}  // namespace sortilo::xls
