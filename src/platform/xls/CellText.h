#pragma once

#include "platform/xls/CellValue.h"

#include <QString>

#include <optional>

namespace sortilo::xls {

// A cell's stored value as the text a roster name is made of: text as stored; a number with at
// most 15 significant digits (exponent form below 1E-4 and from 1E15); a date as yyyy/M/d with
// " H:mm:ss" when it has a time, a time alone as H:mm:ss; True/False. An error value has no
// text (nullopt); an empty cell gives "".
std::optional<QString> valueAsText(const CellValue& value);

// "A17" for row 17, column 1 (both from 1).
QString cellName(int row, int column);

}  // namespace sortilo::xls
