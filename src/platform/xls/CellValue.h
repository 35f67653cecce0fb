#pragma once

#include <QString>

#include <cstdint>

namespace sortilo::xls {

// One cell's stored value, as a spreadsheet program holds it (not as it is displayed).
struct CellValue {
    enum class Kind { Empty, Text, Number, Date, Bool, Error };

    Kind kind = Kind::Empty;
    QString text;  // Text
    // Number; Date as a serial of the 1900 date system (1904-system dates moved by 1462 days),
    // i.e. days since 1899-12-30 from March 1900 on.
    double number = 0;
    bool boolean = false;   // Bool
    uint8_t errorCode = 0;  // Error: the BIFF code (0x07 #DIV/0!, 0x2A #N/A, ...)

    // Empty cell, blank cell, or a cell (or formula result) holding the empty text.
    bool isEmpty() const { return kind == Kind::Empty || (kind == Kind::Text && text.isEmpty()); }
};

}  // namespace sortilo::xls
