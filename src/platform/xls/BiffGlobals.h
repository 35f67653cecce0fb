#pragma once

#include "platform/SpreadsheetService.h"
#include "platform/xls/BiffStream.h"
#include "platform/xls/SheetPlacement.h"
#include "platform/xls/Workbook.h"

#include <map>
#include <vector>

namespace sortilo::xls {

// What the workbook globals substream says, as far as reading cells needs it.
struct BiffGlobals {
    int biff = 8;
    int codePage = -1;  // -1: no CODEPAGE record
    bool date1904 = false;
    SheetDirectory directory;
    std::map<int, QString> formats;
    std::vector<uint16_t> xfFormats;
    std::vector<QString> sharedStrings;
    size_t end = 0;  // stream position after the globals' EOF
};

// Reads the globals from the start of `stream`, decrypting the stream in place when it is
// encrypted with the default password.
SheetError readBiffGlobals(QByteArray& stream, BiffGlobals& out, const QString& password);

// The shared string table (SST body and its CONTINUE bodies).
SheetError readSharedStrings(std::vector<Span> parts, std::vector<QString>& out);

}  // namespace sortilo::xls
