#pragma once

#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads CSV or tab-separated text as one sheet: a row per record, RFC 4180 quoting, the separator
// (comma, semicolon or tab) found from the first lines or named by a "sep=" line. Every field
// stays text as written: a roster's 007 is a name, not the number 7.
Result<void> readCsvWorkbook(const QByteArray& file, Workbook::Parts& out);

}  // namespace sortilo::xls
