#pragma once

#include "base/Result.h"
#include "platform/xls/Biff.h"
#include "platform/xls/Container.h"
#include "platform/xls/SharedStrings.h"
#include "platform/xls/SheetPlacement.h"

#include <map>
#include <vector>

namespace sortilo::xls {

// What the workbook globals substream says.
struct Globals {
    int biff = 8;            // 8, or 5 for Excel 5.0/95
    bool hasGlobals = true;  // false: the stream holds one worksheet and nothing else
    int codePage = -1;       // -1: no CODEPAGE record
    bool date1904 = false;
    SheetDirectory directory;
    std::vector<int> sheetRecords;  // the BOUNDSHEET record of each sheet
    bool shortSheetRecord = false;  // a BOUNDSHEET too short to be a sheet's
    std::map<int, QString> formats;
    std::vector<uint16_t> xfFormats;
    SharedStrings sst;
    int sstRecord = -1;
    int filePass = -1;  // the FILEPASS record: the workbook is encrypted
};

// A BIFF workbook as reading and editing both start from: the compound file, its workbook
// stream split into records, the globals, and where each sheet lies.
struct BiffBook {
    CompoundFile file;
    int entry = -1;  // the workbook stream among the root storage's entries
    RecordStream stream;
    Globals globals;
    SheetPlacement placement;
};

// Reads a compound file's workbook stream: `Workbook` (BIFF8) or else `Book` (BIFF5), any
// letter case. An encrypted stream is decrypted in place when `password` opens it; without a
// password it is refused.
Result<BiffBook> readBiffBook(const QByteArray& file, const QString* password);

}  // namespace sortilo::xls
