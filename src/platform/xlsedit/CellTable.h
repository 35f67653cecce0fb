#pragma once

#include "base/Result.h"
#include "platform/xls/Biff.h"
#include "platform/xlsedit/MergedCells.h"
#include "platform/xlsedit/StreamOut.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace sortilo::xlsedit {

using xls::Record;
using xls::RecordStream;
using xls::Section;

// FORMULA flags (u16 at body offset 14): calculate the formula at the next recalculation.
constexpr int FormulaFlags = 14;
constexpr uint8_t FormulaAlwaysCalc = 0x01;

// A rectangle of cells, zero-based and inclusive.
struct CellRect {
    int row1 = 0, col1 = 0, row2 = -1, col2 = -1;
    bool contains(int r, int c) const { return r >= row1 && r <= row2 && c >= col1 && c <= col2; }
    bool contains(const CellRect& o) const {
        return o.row1 >= row1 && o.row2 <= row2 && o.col1 >= col1 && o.col2 <= col2;
    }
    bool intersects(const CellRect& o) const {
        return o.row1 <= row2 && o.row2 >= row1 && o.col1 <= col2 && o.col2 >= col1;
    }
};

// "A1:AZ5000", "B7" or "$A$1:$C$3" to a rectangle clipped to the sheet; nothing if malformed.
std::optional<CellRect> parseA1Range(const QString& text);

// The cell records of the sheet being edited, one entry per cell record (a FORMULA together
// with the records that belong to it), grouped by row; plus everything needed to lay the
// cell table out again: ROW records, and where the sheet's other records go.
class CellTable {
public:
    // Takes the records of one worksheet section (its BOF through its EOF).
    Result<void> parse(const RecordStream& stream, const Section& sheet);

    // Clears values and formulas in the rectangle, keeping each cell's format. Refuses (leaving
    // the table as it was) when a formula group reaches across its edge.
    Result<void> clear(const CellRect& rect);
    // Puts a shared-string cell at (row, col), keeping the cell's format.
    Result<void> setText(int row, int col, uint32_t sstIndex);

    // Shared-string indices of the text cells cleared or overwritten since the last call.
    std::vector<uint32_t> takeReleased();

    // Number of LABELSST cells, to keep the workbook's reference count right.
    uint32_t labelSstCount() const;

    // Appends the sheet section, laid out anew, to out; streamBase is the absolute position of
    // out's first byte. After a change its formulas are marked to be calculated again when the
    // workbook is opened, its view goes back to the top-left corner with A1 selected, and the
    // merged areas that take in a cell given text are undone (the cells keep their formats).
    void write(StreamOut& out, uint32_t streamBase, bool changed) const;

    struct Item {
        uint16_t first = 0, last = 0;  // columns covered
        uint16_t type = 0;             // BLANK / LABELSST when generated, else the record's type
        uint16_t xf = 0;               // generated cells only
        uint32_t sst = 0;              // generated LABELSST only
        int group = -1;                // formula group anchored here
        QByteArray raw;                // the records as found, headers included; empty if generated
    };
    struct Row {
        QByteArray record;  // ROW body as found, empty when the row had none
        std::vector<Item> cells;
    };
    struct Group {
        uint16_t type = 0;  // SHRFMLA, ARRAY or TABLE
        int row = 0, col = 0;
        CellRect ref;
        bool alive = true;
    };

private:
    uint16_t xfAt(const Item& item, int col) const;
    Row& rowAt(int row);
    uint16_t defaultXf(const Row& row, int col) const;
    // Appends item to out with the columns [c1, c2] turned into blank cells of their format.
    void blankOut(int row, const Item& item, int c1, int c2, std::vector<Item>& out);
    // What keeps the rectangle from being changed: a formula group across its edge.
    Result<void> groupConflict(const CellRect& rect) const;
    // Writes rows [from, to) as one block: ROW records, cells, DBCELL; returns its DBCELL's
    // position (relative to out).
    qsizetype writeBlock(StreamOut& out, std::map<int, Row>::const_iterator from,
                         std::map<int, Row>::const_iterator to, bool markFormulas) const;
    static void writeCells(StreamOut& out, int row, const std::vector<Item>& cells,
                           bool markFormulas);
    Item slice(int row, const Item& item, int c1, int c2) const;
    void sortRow(int row, std::vector<Item>& cells) const;
    int takeCell(const RecordStream& stream, int sheetEnd, int at);

    // The sheet's other records in order, split where the cell table goes. INDEX and
    // DIMENSIONS keep their place but are written anew; the view's records and the merged
    // areas are adjusted after a change.
    enum class Role : uint8_t { Keep, Index, Dimensions, View, Merged };
    using Placed = std::vector<std::pair<int, Role>>;
    struct Layout;  // what write() learns on the way
    void writeRecords(StreamOut& out, const Placed& records, Layout& layout) const;
    QByteArray dimensions() const;
    CellList textWritten() const;
    bool formulasLeft() const;
    void splitForEmptyTable();

    const RecordStream* stream_ = nullptr;
    Placed before_;
    Placed after_;
    bool hasIndex_ = false;     // without INDEX there are no DBCELLs either
    int bof_ = -1;              // the sheet's BOF record
    bool hasFormulas_ = false;  // when read; clearing may have removed them all
    bool hasUncalced_ = false;
    bool hasMerged_ = false;
    std::map<int, Row> rows_;
    std::map<int, Row>::iterator lastRow_ = rows_.end();  // the row found last
    std::vector<Group> groups_;
    std::vector<uint32_t> released_;
    std::vector<std::pair<CellRect, uint16_t>> colXf_;  // COLINFO ranges and their XF
};

}  // namespace sortilo::xlsedit
