#pragma once

#include "platform/xls/Workbook.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xls {

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
    static constexpr size_t NotFound = size_t(-1);
    std::vector<size_t> starts;  // per sheet: the position of its BOF in the stream, or NotFound
    int active = -1;             // -1: the workbook lists no sheets
    // Empty when the workbook's records agree. Otherwise the placement is a best guess, good
    // enough to read from but not to write by, and this says what disagrees.
    QString doubt;
};

// A substream at the top level of a BIFF stream after the globals: one sheet's BOF to EOF.
struct Substream {
    size_t begin = 0;                   // its BOF's position
    std::vector<uint16_t> windowFlags;  // the flags of its WINDOW2 records, one per window
};

// The substreams from `from` (right after the globals' EOF) on; embedded charts stay inside.
std::vector<Substream> findSubstreams(const QByteArray& stream, size_t from);

SheetPlacement placeSheets(const std::vector<Substream>& substreams, const SheetDirectory& dir);

// The kind of sheet a BOUNDSHEET type byte names.
SheetInfo::Type biffSheetType(uint8_t code);

}  // namespace sortilo::xls
