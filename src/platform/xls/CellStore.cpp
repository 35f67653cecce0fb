#include "platform/xls/CellStore.h"

#include <algorithm>

namespace sortilo::xls {

void CellStore::add(uint32_t row, uint32_t col, CellValue::Kind kind, double number,
                    uint8_t small) {
    entries_.push_back(Entry{row, col, number, kind, small});
}

void CellStore::setNumber(uint32_t row, uint32_t col, double value, bool isDate) {
    add(row, col, isDate ? CellValue::Kind::Date : CellValue::Kind::Number, value, 0);
}

void CellStore::setText(uint32_t row, uint32_t col, QString text) {
    own_.push_back(std::move(text));
    add(row, col, CellValue::Kind::Text, double(own_.size() - 1), 0);
}

void CellStore::setSharedText(uint32_t row, uint32_t col, uint32_t index) {
    if (index >= shared_.size()) {
        // A reference past the shared strings (a wrong count in the file) reads as empty.
        add(row, col, CellValue::Kind::Empty, 0, 0);
        return;
    }
    add(row, col, CellValue::Kind::Text, double(index), 1);
}

void CellStore::setBool(uint32_t row, uint32_t col, bool value) {
    add(row, col, CellValue::Kind::Bool, 0, value ? 1 : 0);
}

void CellStore::setError(uint32_t row, uint32_t col, uint8_t code) {
    add(row, col, CellValue::Kind::Error, 0, code);
}

void CellStore::setBlank(uint32_t row, uint32_t col) {
    add(row, col, CellValue::Kind::Empty, 0, 0);
}

void CellStore::finish() {
    auto key = [](const Entry& e) { return (uint64_t(e.row) << 32) | e.col; };
    auto less = [&](const Entry& a, const Entry& b) { return key(a) < key(b); };
    if (!std::is_sorted(entries_.begin(), entries_.end(), less)) {
        std::stable_sort(entries_.begin(), entries_.end(), less);
    }
    // Keep the last entry of each cell, then drop the blanks (in place).
    size_t kept = 0;
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (i + 1 < entries_.size() && key(entries_[i + 1]) == key(entries_[i])) {
            continue;
        }
        if (entries_[i].kind != CellValue::Kind::Empty) {
            entries_[kept++] = entries_[i];
        }
    }
    entries_.resize(kept);
    if (entries_.capacity() > 2 * kept + 1024) {
        entries_.shrink_to_fit();  // the reservation before reading was generous
    }
}

void CellStore::reserve(size_t cells) {
    entries_.reserve(cells);
}

CellValue CellStore::valueAt(size_t i) const {
    const Entry& e = entries_[i];
    CellValue v;
    v.kind = e.kind;
    switch (e.kind) {
        case CellValue::Kind::Text:
            v.text = e.small ? shared_.text(size_t(e.number)) : own_[size_t(e.number)];
            break;
        case CellValue::Kind::Number:
        case CellValue::Kind::Date:
            v.number = e.number;
            break;
        case CellValue::Kind::Bool:
            v.boolean = e.small != 0;
            break;
        case CellValue::Kind::Error:
            v.errorCode = e.small;
            break;
        case CellValue::Kind::Empty:
            break;
    }
    return v;
}

CellValue CellStore::at(uint32_t row, uint32_t col) const {
    const uint64_t k = (uint64_t(row) << 32) | col;
    auto it = std::lower_bound(
        entries_.begin(), entries_.end(), k,
        [](const Entry& e, uint64_t key) { return ((uint64_t(e.row) << 32) | e.col) < key; });
    if (it == entries_.end() || it->row != row || it->col != col) {
        return {};
    }
    return valueAt(size_t(it - entries_.begin()));
}

}  // namespace sortilo::xls
