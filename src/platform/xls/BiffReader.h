#pragma once

#include "platform/xls/LegacyCrypto.h"
#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads a BIFF5/BIFF8 workbook from a compound file's bytes (decrypting it when `password`
// opens it): its sheets and the cells of the sheet that opens.
Result<void> readBiffWorkbook(const QByteArray& file, Workbook::Parts& out,
                              const QString& password = DefaultPassword);

}  // namespace sortilo::xls
