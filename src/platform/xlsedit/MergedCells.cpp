#include "platform/xlsedit/MergedCells.h"

#include "platform/xlsedit/CellTable.h"

#include <algorithm>

namespace sortilo::xlsedit {

using namespace xls;

namespace {

constexpr int AreaSize = 8;

// One area of the record, its corners put in order.
CellRect areaAt(const char* area) {
    const int r1 = le16(area), r2 = le16(area + 2), c1 = le16(area + 4), c2 = le16(area + 6);
    return {std::min(r1, r2), std::min(c1, c2), std::max(r1, r2), std::max(c1, c2)};
}

bool holdsAny(const CellList& cells, const CellRect& area) {
    auto it = std::lower_bound(cells.begin(), cells.end(), std::pair(area.row1, area.col1));
    while (it != cells.end() && it->first <= area.row2) {
        if (it->second >= area.col1 && it->second <= area.col2) {
            return true;
        }
        // On to the area's first column in this row, or else in the next.
        const int row = it->second < area.col1 ? it->first : it->first + 1;
        it = std::lower_bound(it, cells.end(), std::pair(row, area.col1));
    }
    return false;
}

}  // namespace

void appendMergedCells(StreamOut& out, const char* record, const CellList& cells) {
    const int length = le16(record + 2);
    const char* body = record + 4;
    const int count = length < 2 ? 0 : std::min<int>(le16(body), (length - 2) / AreaSize);
    QByteArray kept;
    for (int i = 0; i < count; ++i) {
        const char* area = body + 2 + AreaSize * i;
        if (!holdsAny(cells, areaAt(area))) {
            kept.append(area, AreaSize);
        }
    }
    const int left = int(kept.size() / AreaSize);
    if (left == count) {
        out.append(record, 4 + length);
    } else if (left > 0) {
        QByteArray updated;
        append16(updated, uint32_t(left));
        out.record(MergedCellsType, updated + kept);
    }
}

}  // namespace sortilo::xlsedit
