#pragma once

#include "platform/xls/LegacyCrypto.h"
#include "platform/xls/Workbook.h"

namespace sortilo::xls {

// Reads the BIFF5/BIFF8 record stream of a compound file (decrypting it in place when the
// default password opens it): the globals and the active sheet's cells.
SheetError readBiffWorkbook(QByteArray& stream, Workbook::Parts& out,
                            const QString& password = DefaultPassword);

}  // namespace sortilo::xls
