#pragma once

#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads an HTML page as a spreadsheet program opens it: one sheet, a row for each block of text
// outside the tables and for each table row, spans taken into account, texts as a browser shows
// them. Web systems hand such pages out under a workbook's name.
Result<void> readHtmlWorkbook(const QByteArray& file, Workbook::Parts& out);

}  // namespace sortilo::xls
