#include "platform/xlsedit/CellTable.h"

#include "platform/xls/CellText.h"

#include <algorithm>
#include <utility>

namespace sortilo::xlsedit {

using namespace xls;

namespace {

bool belongsToFormula(uint16_t type) {
    return type == rec::ShrFmla || type == rec::Array || type == rec::Table ||
           type == rec::String || type == rec::Continue;
}

}  // namespace

Result<void> CellTable::parse(const RecordStream& stream, const Section& sheet) {
    stream_ = &stream;
    bof_ = sheet.first;
    bool inTable = false;
    int depth = 0;
    for (int i = sheet.first; i < sheet.end; ++i) {
        const Record& r = stream.records[size_t(i)];
        const char* body = stream.body(r);
        Placed& place = inTable ? after_ : before_;
        if (r.type == rec::Bof || r.type == rec::Eof || depth != 1) {
            depth += r.type == rec::Bof ? 1 : (r.type == rec::Eof ? -1 : 0);
            place.emplace_back(i, Role::Keep);
            continue;
        }
        if (r.type == rec::Index || r.type == rec::DbCell) {
            // Both are written anew; a second INDEX would be stale.
            if (r.type == rec::Index && !hasIndex_) {
                hasIndex_ = true;
                place.emplace_back(i, Role::Index);
            }
            continue;
        }
        if (r.type == rec::Dimensions && r.length >= 14) {
            place.emplace_back(i, Role::Dimensions);
            continue;
        }
        if (r.type == MergedCellsType) {
            hasMerged_ = true;
            place.emplace_back(i, Role::Merged);
            continue;
        }
        if (r.type == rec::ColInfo && r.length >= 8) {
            colXf_.push_back({CellRect{0, le16(body), 65535, le16(body + 2)}, le16(body + 6)});
        }
        if (r.type == rec::Row && r.length >= 16) {
            rowAt(le16(body)).record = QByteArray(body, 16);
            inTable = true;
            continue;
        }
        const int minLength = r.type == rec::MulRk || r.type == rec::MulBlank ? 6 + 2 : 6;
        if (!isCellRecord(r.type) || r.length < minLength) {
            const bool view =
                r.type == rec::Window2 || r.type == rec::Pane || r.type == rec::Selection;
            hasUncalced_ = hasUncalced_ || r.type == rec::Uncalced;
            place.emplace_back(i, view ? Role::View : Role::Keep);
            continue;
        }
        inTable = true;
        hasFormulas_ = hasFormulas_ || r.type == rec::Formula;
        i = takeCell(stream, sheet.end, i);
        if (i < 0) {
            return fault(ErrorKind::Corrupt, QStringLiteral("an empty multiple-cell record"));
        }
    }
    for (auto& [row, data] : rows_) {
        sortRow(row, data.cells);
    }
    if (!inTable) {
        splitForEmptyTable();
    }
    return {};
}

// Takes the cell record at `at` (a FORMULA with the records that belong to it); returns the
// index of its last record, or -1 when it is damaged.
int CellTable::takeCell(const RecordStream& stream, int sheetEnd, int at) {
    const Record& r = stream.records[size_t(at)];
    const char* body = stream.body(r);
    Item item;
    item.type = r.type;
    item.first = item.last = le16(body + 2);
    if (r.type == rec::MulRk || r.type == rec::MulBlank) {
        const int n = (r.length - 6) / multiWidth(r.type);
        if (n < 1) {
            return -1;
        }
        item.last = uint16_t(std::min(item.first + n - 1, 0xFFFF));
    }
    int end = at + 1;
    if (r.type == rec::Formula) {
        while (end < sheetEnd && belongsToFormula(stream.records[size_t(end)].type)) {
            ++end;
        }
        for (int j = at + 1; j < end; ++j) {
            const Record& c = stream.records[size_t(j)];
            const char* cb = stream.body(c);
            if ((c.type == rec::ShrFmla || c.type == rec::Array || c.type == rec::Table) &&
                c.length >= 6 && item.group < 0) {
                item.group = int(groups_.size());
                groups_.push_back(
                    {c.type, le16(body), item.first,
                     CellRect{le16(cb), uint8_t(cb[4]), le16(cb + 2), uint8_t(cb[5])}});
            }
        }
    }
    const Record& last = stream.records[size_t(end - 1)];
    const uint32_t stop = last.offset + 4 + last.length;
    // The stream outlives the table: cells point into it rather than copy it.
    item.raw =
        QByteArray::fromRawData(stream.bytes.constData() + r.offset, qsizetype(stop - r.offset));
    rowAt(le16(body)).cells.push_back(std::move(item));
    return end - 1;
}

// Puts a row's cells in column order. Cells written twice (seen in real files) are resolved as
// readers do: the later record wins, so each column keeps one cell.
void CellTable::sortRow(int row, std::vector<Item>& cells) const {
    bool ordered = true;
    for (size_t i = 1; i < cells.size() && ordered; ++i) {
        ordered = cells[i - 1].last < cells[i].first;
    }
    if (ordered) {
        return;  // as writers write them: in column order, each column once
    }
    std::vector<Item> sorted = cells;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Item& a, const Item& b) { return a.first < b.first; });
    bool overlap = false;
    for (size_t i = 1; i < sorted.size() && !overlap; ++i) {
        overlap = sorted[i].first <= sorted[i - 1].last;
    }
    if (!overlap) {
        cells = std::move(sorted);
        return;
    }
    std::map<int, Item> byColumn;
    for (const Item& item : cells) {
        const bool multi = item.type == rec::MulRk || item.type == rec::MulBlank;
        for (int c = item.first; c <= item.last; ++c) {
            byColumn[c] = multi ? slice(row, item, c, c) : item;
        }
    }
    cells.clear();
    for (auto& [col, item] : byColumn) {
        cells.push_back(std::move(item));
    }
}

// A sheet without cells: the new cells go after DIMENSIONS, or else before the view settings.
void CellTable::splitForEmptyTable() {
    size_t at = before_.size();
    for (size_t i = 0; i < before_.size(); ++i) {
        if (before_[i].second == Role::Dimensions) {
            at = i + 1;
            break;
        }
    }
    if (at == before_.size()) {
        for (size_t i = 1; i < before_.size(); ++i) {
            const uint16_t type = stream_->records[size_t(before_[i].first)].type;
            if (type == rec::Window2 || (type == rec::Eof && i + 1 == before_.size())) {
                at = i;
                break;
            }
        }
    }
    after_.assign(before_.begin() + qsizetype(at), before_.end());
    before_.resize(at);
}

uint16_t CellTable::xfAt(const Item& item, int col) const {
    if (item.raw.isEmpty()) {
        return item.xf;
    }
    const char* body = item.raw.constData() + 4;
    if (item.type == rec::MulRk || item.type == rec::MulBlank) {
        return le16(body + 4 + multiWidth(item.type) * (col - item.first));
    }
    return le16(body + 4);
}

// Cells come row by row, down a column or along a row: the row after the last one found is
// tried first.
CellTable::Row& CellTable::rowAt(int row) {
    if (lastRow_ != rows_.end() && lastRow_->first != row) {
        const auto next = std::next(lastRow_);
        lastRow_ = next != rows_.end() && next->first == row ? next : rows_.end();
    }
    if (lastRow_ == rows_.end()) {
        lastRow_ = rows_.try_emplace(row).first;
    }
    return lastRow_->second;
}

uint16_t CellTable::defaultXf(const Row& row, int col) const {
    if (!row.record.isEmpty()) {
        const uint32_t flags = le32(row.record.constData() + 12);
        if (flags & 0x80) {
            return uint16_t((flags >> 16) & 0x0FFF);
        }
    }
    for (const auto& [range, xf] : colXf_) {
        if (range.contains(0, col)) {
            return xf;
        }
    }
    return 15;
}

// The columns [c1, c2] of a MULRK / MULBLANK as a record of their own (RK / BLANK for one).
CellTable::Item CellTable::slice(int row, const Item& item, int c1, int c2) const {
    const int width = multiWidth(item.type);
    const char* cells = item.raw.constData() + 4 + 4 + width * (c1 - item.first);
    QByteArray body;
    append16(body, uint32_t(row));
    append16(body, uint32_t(c1));
    body.append(cells, width * (c2 - c1 + 1));
    Item out;
    out.first = uint16_t(c1);
    out.last = uint16_t(c2);
    if (c1 == c2) {
        out.type = item.type == rec::MulRk ? rec::Rk : rec::Blank;
    } else {
        out.type = item.type;
        append16(body, uint32_t(c2));
    }
    appendRecord(out.raw, out.type, body);
    return out;
}

void CellTable::blankOut(int row, const Item& item, int c1, int c2, std::vector<Item>& out) {
    const int from = std::max<int>(item.first, c1);
    const int to = std::min<int>(item.last, c2);
    if (from > to) {
        out.push_back(item);
        return;
    }
    if (item.type == rec::LabelSst) {
        released_.push_back(item.raw.isEmpty() ? item.sst : le32(item.raw.constData() + 4 + 6));
    }
    const bool multi = item.type == rec::MulRk || item.type == rec::MulBlank;
    if (multi && item.first < from) {
        out.push_back(slice(row, item, item.first, from - 1));
    }
    for (int c = from; c <= to; ++c) {
        Item blank;
        blank.first = blank.last = uint16_t(c);
        blank.type = rec::Blank;
        blank.xf = xfAt(item, c);
        out.push_back(std::move(blank));
    }
    if (multi && to < item.last) {
        out.push_back(slice(row, item, to + 1, item.last));
    }
}

Result<void> CellTable::groupConflict(const CellRect& rect) const {
    for (const Group& g : groups_) {
        if (!g.alive || !g.ref.intersects(rect) || rect.contains(g.ref)) {
            continue;
        }
        // Members of a shared formula stand alone once cleared; only its anchor carries the
        // formula the others point at. Array and table formulas must go as a whole.
        if (g.type == rec::ShrFmla && !rect.contains(g.row, g.col)) {
            continue;
        }
        const QString kind = g.type == rec::ShrFmla
                                 ? QStringLiteral("shared formula")
                                 : (g.type == rec::Array ? QStringLiteral("array formula")
                                                         : QStringLiteral("data table"));
        return fault(ErrorKind::NotEditable,
                     QStringLiteral("%1 %2:%3 lies partly outside the cells to change")
                         .arg(kind, cellName(g.ref.row1 + 1, g.ref.col1 + 1),
                              cellName(g.ref.row2 + 1, g.ref.col2 + 1)));
    }
    return {};
}

Result<void> CellTable::clear(const CellRect& rect) {
    if (Result<void> conflict = groupConflict(rect); !conflict) {
        return conflict;
    }
    for (Group& g : groups_) {
        if (rect.contains(g.row, g.col)) {
            g.alive = false;
        }
    }
    for (auto it = rows_.lower_bound(rect.row1); it != rows_.end() && it->first <= rect.row2;
         ++it) {
        std::vector<Item>& cells = it->second.cells;
        const bool touched = std::any_of(cells.begin(), cells.end(), [&](const Item& c) {
            return c.first <= rect.col2 && c.last >= rect.col1 &&
                   !(c.raw.isEmpty() && c.type == rec::Blank);
        });
        if (!touched) {
            continue;
        }
        std::vector<Item> next;
        next.reserve(cells.size());
        for (const Item& item : cells) {
            blankOut(it->first, item, rect.col1, rect.col2, next);
        }
        cells = std::move(next);
    }
    return {};
}

Result<void> CellTable::setText(int row, int col, uint32_t sstIndex) {
    if (Result<void> conflict = groupConflict({row, col, row, col}); !conflict) {
        return conflict;
    }
    Row& cellsRow = rowAt(row);
    std::vector<Item>& cells = cellsRow.cells;
    auto at = std::lower_bound(cells.begin(), cells.end(), col,
                               [](const Item& c, int column) { return c.last < column; });
    Item text;
    text.first = text.last = uint16_t(col);
    text.type = rec::LabelSst;
    text.sst = sstIndex;
    if (at == cells.end() || at->first > col) {
        text.xf = defaultXf(cellsRow, col);
        cells.insert(at, std::move(text));
        return {};
    }
    for (Group& g : groups_) {
        if (g.row == row && g.col == col) {
            g.alive = false;
        }
    }
    if (at->first == at->last) {
        // One cell in its own record: replaced where it stands.
        text.xf = xfAt(*at, col);
        if (at->type == rec::LabelSst) {
            released_.push_back(at->raw.isEmpty() ? at->sst : le32(at->raw.constData() + 4 + 6));
        }
        *at = std::move(text);
        return {};
    }
    std::vector<Item> pieces;
    blankOut(row, *at, col, col, pieces);
    for (Item& piece : pieces) {
        if (piece.first == col) {
            text.xf = piece.xf;
            piece = std::move(text);
            break;
        }
    }
    const auto pos = at - cells.begin();
    cells.erase(at);
    cells.insert(cells.begin() + pos, std::make_move_iterator(pieces.begin()),
                 std::make_move_iterator(pieces.end()));
    return {};
}

std::vector<uint32_t> CellTable::takeReleased() {
    return std::exchange(released_, {});
}

uint32_t CellTable::labelSstCount() const {
    uint32_t n = 0;
    for (const auto& [row, data] : rows_) {
        for (const Item& c : data.cells) {
            n += c.type == rec::LabelSst ? 1 : 0;
        }
    }
    return n;
}

}  // namespace sortilo::xlsedit
