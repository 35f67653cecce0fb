#pragma once

#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads an XML Spreadsheet 2003 document: its worksheets, the one ExcelWorkbook/ActiveSheet
// names (the first when none) and that one's cells, placed by ss:Index.
Result<void> readXml2003Workbook(const QByteArray& file, Workbook::Parts& out);

}  // namespace sortilo::xls
