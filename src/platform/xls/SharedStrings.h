#pragma once

#include "platform/xls/Biff.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace sortilo::xls {

// A workbook's shared string table, each string kept as the file holds it (characters, rich
// text runs, phonetic block) in one pool: compact for reading, exact for writing back.
class SharedStrings {
public:
    // Reads the SST body with its CONTINUE bodies until the data ends: the counts in the file
    // can be wrong.
    void parse(std::vector<Span> parts);
    // A string appended as text (for workbooks whose strings come as text, and new cells).
    PooledString append(const QString& text);

    // Every string read exactly as the table holds it, counts included.
    bool whole() const { return whole_; }
    // A string runs past the table's end before the counted number of strings.
    bool damaged() const { return damaged_; }

    size_t size() const { return strings_.size(); }
    QString text(size_t index) const { return pooledText(pool_, strings_[index]); }

    std::vector<PooledString>& strings() { return strings_; }
    const std::vector<PooledString>& strings() const { return strings_; }
    const QByteArray& pool() const { return pool_; }

private:
    QByteArray pool_;
    std::vector<PooledString> strings_;
    bool whole_ = true;
    bool damaged_ = false;
};

}  // namespace sortilo::xls
