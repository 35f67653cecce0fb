#pragma once

#include "platform/xls/Biff.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xls {

struct SheetInfo {
    enum class Type { Worksheet, MacroSheet, Chart, VbModule, Other };
    QString name;
    Type type = Type::Worksheet;
    bool hidden = false;
};

// The kind of sheet a BOUNDSHEET type byte names.
SheetInfo::Type biffSheetType(uint8_t code);

// The sheet that opens: the recorded one when it is a valid index, else the first visible
// worksheet. Returns -1 when the workbook has no sheets.
int resolveActiveSheet(const std::vector<SheetInfo>& sheets, long recorded);

// What the workbook globals of a BIFF stream say about its sheets: the BOUNDSHEET records in
// tab order, and the active tab of every WINDOW1 record (one per window of the workbook) in the
// order of the file.
struct SheetDirectory {
    std::vector<SheetInfo> sheets;
    std::vector<uint32_t> offsets;  // where BOUNDSHEET says each sheet's BOF lies
    std::vector<long> windowTabs;
};

// Where each sheet's records lie and which sheet opens. Reading and editing both go by this,
// so an export changes exactly the sheet that an import of the same file reads.
struct SheetPlacement {
    std::vector<int> sections;  // per sheet: its section of the record stream, or -1
    int active = -1;            // -1: the workbook lists no sheets
    // Empty when the workbook's records agree. Otherwise the placement is a best guess, good
    // enough to read from but not to write by, and this says what disagrees.
    QString doubt;
};

// Pairs the sheets with the substreams from section `from` on (right after the globals).
SheetPlacement placeSheets(const RecordStream& stream, size_t from, const SheetDirectory& dir);

}  // namespace sortilo::xls
