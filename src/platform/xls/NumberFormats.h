#pragma once

#include <QString>

namespace sortilo::xls {

// Whether a number format shows its number as a date or time. `formatString` is the format
// stored in the workbook for `id`; when `stored` is false the built-in table decides.
bool isDateFormat(int id, const QString& formatString, bool stored);

}  // namespace sortilo::xls
