#pragma once

#include "platform/xls/CellValue.h"
#include "platform/xls/SharedStrings.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xls {

// The cells of one sheet, compactly: one small entry per non-blank cell, texts in tables.
// Shared strings stay in one table that the entries point into.
class CellStore {
public:
    void setNumber(uint32_t row, uint32_t col, double value, bool isDate);
    void setText(uint32_t row, uint32_t col, QString text);
    void setSharedText(uint32_t row, uint32_t col, uint32_t index);
    void setBool(uint32_t row, uint32_t col, bool value);
    void setError(uint32_t row, uint32_t col, uint8_t code);
    void setBlank(uint32_t row, uint32_t col);  // a later blank replaces an earlier value
    void setSharedStrings(SharedStrings strings) { shared_ = std::move(strings); }
    // Orders the entries by row and column; of two entries for one cell the later one wins.
    void finish();
    void reserve(size_t cells);

    // Rows and columns from 1.
    CellValue at(uint32_t row, uint32_t col) const;
    size_t size() const { return entries_.size(); }
    uint32_t rowAt(size_t i) const { return entries_[i].row; }
    uint32_t colAt(size_t i) const { return entries_[i].col; }
    CellValue valueAt(size_t i) const;

private:
    struct Entry {
        uint32_t row;
        uint32_t col;
        double number;  // Number, Date; for texts the table index
        CellValue::Kind kind;
        uint8_t small;  // Bool value, Error code, or 1 for a shared text
    };
    void add(uint32_t row, uint32_t col, CellValue::Kind kind, double number, uint8_t small);

    std::vector<Entry> entries_;
    std::vector<QString> own_;
    SharedStrings shared_;
};

}  // namespace sortilo::xls
