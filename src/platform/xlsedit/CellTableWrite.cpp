#include "platform/xlsedit/CellTable.h"

#include <QRegularExpression>

#include <algorithm>

namespace sortilo::xlsedit {

using namespace xls;

namespace {

constexpr int RowsPerBlock = 32;
constexpr int RowRecordSize = 4 + 16;

int columnNumber(const QString& letters) {
    int n = 0;
    for (QChar ch : letters) {
        n = n * 26 + (ch.toUpper().unicode() - 'A' + 1);
    }
    return n;
}

// Sets each window's view of the sheet back to its top-left corner with A1 selected in the
// active pane. Frozen rows and columns, splits, zoom and the other panes' selections stay.
class ViewReset {
public:
    QByteArray apply(uint16_t type, QByteArray body) {
        char* b = body.data();
        if (type == rec::Window2 && body.size() >= 6) {
            frozen_ = (le16(b) & 0x0008) != 0;
            activePane_ = 3;  // a window without panes has just the top-left one
            put16(b + 2, 0);  // top row
            put16(b + 4, 0);  // left column
        } else if (type == rec::Pane && body.size() >= 9) {
            // Frozen panes scroll from just after the frozen rows and columns.
            put16(b + 4, frozen_ ? le16(b + 2) : 0);
            put16(b + 6, frozen_ ? le16(b) : 0);
            activePane_ = uint8_t(b[8]);
        } else if (type == rec::Selection && body.size() >= 9 && uint8_t(b[0]) == activePane_) {
            // Pane, active cell A1, the first of one range, that range A1:A1.
            body = QByteArray(15, '\0');
            body[0] = char(activePane_);
            put16(body.data() + 7, 1);
        }
        return body;
    }

private:
    bool frozen_ = false;
    uint8_t activePane_ = 3;
};

}  // namespace

struct CellTable::Layout {
    uint32_t base = 0;  // absolute position of out[0]
    size_t blocks = 0;
    bool changed = false;
    qsizetype indexPos = -1;
    uint32_t defColWidthPos = 0;
    ViewReset view;
    CellList written;  // the cells given text, when merged areas may take them in
};

std::optional<CellRect> parseA1Range(const QString& text) {
    static const QRegularExpression re(QStringLiteral(
        R"(^\s*\$?([A-Za-z]{1,3})\$?(\d{1,7})(?:\s*:\s*\$?([A-Za-z]{1,3})\$?(\d{1,7}))?\s*$)"));
    const auto m = re.match(text);
    if (!m.hasMatch()) {
        return std::nullopt;
    }
    const int c1 = columnNumber(m.captured(1)), r1 = m.captured(2).toInt();
    const int c2 = m.captured(3).isEmpty() ? c1 : columnNumber(m.captured(3));
    const int r2 = m.captured(4).isEmpty() ? r1 : m.captured(4).toInt();
    if (r1 < 1 || r2 < 1) {
        return std::nullopt;
    }
    // Rows and columns past a sheet's size hold nothing; the rectangle stops at its edge.
    return CellRect{std::min(std::min(r1, r2) - 1, 65535), std::min(std::min(c1, c2) - 1, 255),
                    std::min(std::max(r1, r2) - 1, 65535), std::min(std::max(c1, c2) - 1, 255)};
}

QByteArray CellTable::dimensions() const {
    // Rows as Excel counts them, formatted rows without cells included; columns from the cells.
    int r1 = -1, r2 = -1, c1 = 0x10000, c2 = -1;
    for (const auto& [row, data] : rows_) {
        if (data.cells.empty() && data.record.isEmpty()) {
            continue;
        }
        if (r1 < 0) {
            r1 = row;
        }
        r2 = row;
        if (data.cells.empty()) {
            continue;
        }
        c1 = std::min<int>(c1, data.cells.front().first);
        for (const Item& c : data.cells) {
            c2 = std::max<int>(c2, c.last);
        }
    }
    if (c2 < 0) {
        c1 = c2 = -1;  // no cells: an empty column span
    }
    QByteArray body;
    append32(body, r1 < 0 ? 0 : uint32_t(r1));
    append32(body, r1 < 0 ? 0 : uint32_t(r2 + 1));
    append16(body, c2 < 0 ? 0 : uint32_t(c1));
    append16(body, c2 < 0 ? 0 : uint32_t(c2 + 1));
    append16(body, 0);
    return body;
}

void CellTable::writeRecords(StreamOut& out, const Placed& records, Layout& layout) const {
    for (const auto& [index, role] : records) {
        const Record& r = stream_->records[size_t(index)];
        const char* raw = stream_->bytes.constData() + r.offset;
        if (role == Role::Index) {
            layout.indexPos = out.size();
            // One slot per DBCELL; write() fills them in once the blocks are laid out.
            out.record(rec::Index, QByteArray(qsizetype(16 + 4 * layout.blocks), '\0'));
        } else if (role == Role::Dimensions) {
            out.record(rec::Dimensions, dimensions());
        } else if (role == Role::View && layout.changed) {
            out.record(r.type, layout.view.apply(r.type, QByteArray(raw + 4, r.length)));
        } else if (role == Role::Merged && !layout.written.empty()) {
            appendMergedCells(out, raw, layout.written);
        } else {
            if (r.type == rec::DefColWidth && layout.defColWidthPos == 0) {
                layout.defColWidthPos = layout.base + uint32_t(out.size());
            }
            out.append(raw, 4 + r.length);
            // Tells the spreadsheet program that the formulas were not calculated at saving.
            if (index == bof_ && layout.changed && !hasUncalced_ && formulasLeft()) {
                out.record(rec::Uncalced, QByteArray(2, '\0'));
            }
        }
    }
}

void CellTable::write(StreamOut& out, uint32_t streamBase, bool changed) const {
    const qsizetype start = out.size();
    Layout layout;
    layout.base = streamBase - uint32_t(start);
    layout.changed = changed;
    if (changed && hasMerged_) {
        layout.written = textWritten();
    }
    // Rows grouped into blocks of 32 row numbers, as Excel lays them out.
    std::vector<std::map<int, Row>::const_iterator> blockStarts;
    for (auto it = rows_.begin(); it != rows_.end(); ++it) {
        if (blockStarts.empty() ||
            it->first / RowsPerBlock != blockStarts.back()->first / RowsPerBlock) {
            blockStarts.push_back(it);
        }
    }
    layout.blocks = blockStarts.size();
    writeRecords(out, before_, layout);
    std::vector<uint32_t> dbcells;
    for (size_t b = 0; b < blockStarts.size(); ++b) {
        const auto to = b + 1 < blockStarts.size() ? blockStarts[b + 1] : rows_.end();
        dbcells.push_back(layout.base + uint32_t(writeBlock(out, blockStarts[b], to, changed)));
    }
    writeRecords(out, after_, layout);
    if (layout.indexPos >= 0) {
        char* body = out.data() + layout.indexPos + 4;
        put32(body, 0);
        put32(body + 4, rows_.empty() ? 0 : uint32_t(rows_.begin()->first));
        put32(body + 8, rows_.empty() ? 0 : uint32_t(rows_.rbegin()->first + 1));
        put32(body + 12, layout.defColWidthPos);
        for (size_t b = 0; b < dbcells.size(); ++b) {
            put32(body + 16 + 4 * b, dbcells[b]);
        }
    }
}

// Cells this edit gave text to: the text cells not read from the file.
CellList CellTable::textWritten() const {
    CellList cells;
    for (const auto& [row, data] : rows_) {
        for (const Item& c : data.cells) {
            if (c.raw.isEmpty() && c.type == rec::LabelSst) {
                cells.emplace_back(row, c.first);
            }
        }
    }
    return cells;
}

bool CellTable::formulasLeft() const {
    if (!hasFormulas_) {
        return false;
    }
    for (const auto& [row, data] : rows_) {
        for (const Item& c : data.cells) {
            if (c.type == rec::Formula) {
                return true;
            }
        }
    }
    return false;
}

qsizetype CellTable::writeBlock(StreamOut& out, std::map<int, Row>::const_iterator from,
                                std::map<int, Row>::const_iterator to, bool markFormulas) const {
    const qsizetype firstRow = out.size();
    for (auto it = from; it != to; ++it) {
        QByteArray body = it->second.record;
        if (body.isEmpty()) {
            // A row that had cells but no ROW record: default height, default format.
            body = QByteArray(16, '\0');
            put16(body.data() + 6, 0x00FF);
            put32(body.data() + 12, 0x000F0100);
        }
        put16(body.data(), uint32_t(it->first));
        const auto& cells = it->second.cells;
        if (!cells.empty()) {
            put16(body.data() + 2, cells.front().first);
            uint16_t last = 0;
            for (const Item& c : cells) {
                last = std::max(last, c.last);
            }
            put16(body.data() + 4, uint32_t(last) + 1);
        }
        out.record(rec::Row, body);
    }
    // DBCELL: from the second ROW record to the first row's cells, then row to row.
    QByteArray db;
    append32(db, 0);
    qsizetype previous = firstRow + RowRecordSize;
    for (auto it = from; it != to; ++it) {
        append16(db, uint32_t(out.size() - previous));
        previous = out.size();
        writeCells(out, it->first, it->second.cells, markFormulas);
    }
    const qsizetype dbcell = out.size();
    if (hasIndex_) {
        put32(db.data(), uint32_t(dbcell - firstRow));
        out.record(rec::DbCell, db);
    }
    return dbcell;
}

void CellTable::writeCells(StreamOut& out, int row, const std::vector<Item>& cells,
                           bool markFormulas) {
    for (size_t i = 0; i < cells.size(); ++i) {
        const Item& item = cells[i];
        if (!item.raw.isEmpty()) {
            const qsizetype at = out.size();
            out.append(item.raw);
            if (markFormulas && item.type == rec::Formula && item.raw.size() >= 4 + 16) {
                out[at + 4 + FormulaFlags] = char(out[at + 4 + FormulaFlags] | FormulaAlwaysCalc);
            }
            continue;
        }
        char body[10];
        put16(body, uint32_t(row));
        put16(body + 2, item.first);
        put16(body + 4, item.xf);
        if (item.type == rec::LabelSst) {
            put32(body + 6, item.sst);
            out.record(rec::LabelSst, body, 10);
            continue;
        }
        // Neighbouring blank cells of our own making go into one MULBLANK.
        size_t end = i + 1;
        while (end < cells.size() && cells[end].raw.isEmpty() && cells[end].type == rec::Blank &&
               cells[end].first == cells[end - 1].last + 1) {
            ++end;
        }
        if (end == i + 1) {
            out.record(rec::Blank, body, 6);
            continue;
        }
        QByteArray multi(body, 4);
        for (size_t j = i; j < end; ++j) {
            append16(multi, cells[j].xf);
        }
        append16(multi, cells[end - 1].last);
        out.record(rec::MulBlank, multi);
        i = end - 1;
    }
}

}  // namespace sortilo::xlsedit
