#pragma once

#include "platform/xlsedit/StreamOut.h"

#include <utility>
#include <vector>

namespace sortilo::xlsedit {

// MERGEDCELLS, any number of them in a sheet: a count, then that many areas of four u16 each
// (first row, last row, first column, last column).
constexpr uint16_t MergedCellsType = 0x00E5;

// Cells as (row, column), zero-based, in row and then column order.
using CellList = std::vector<std::pair<int, int>>;

// Appends the MERGEDCELLS record at `record` (header included) without the areas that take in
// any of `cells`: a merged area shows its first cell over the whole area, so text in any other
// of its cells would not show. A record left without areas is dropped; one that loses none is
// copied as it was.
void appendMergedCells(StreamOut& out, const char* record, const CellList& cells);

}  // namespace sortilo::xlsedit
