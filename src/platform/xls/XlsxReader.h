#pragma once

#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads an Office Open XML workbook (a zip package): sheets, the active tab and its cells.
Result<void> readXlsxWorkbook(const QByteArray& file, Workbook::Parts& out);

}  // namespace sortilo::xls
