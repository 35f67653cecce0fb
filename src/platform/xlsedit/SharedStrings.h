#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xlsedit {

// The workbook's shared string table. Existing strings keep their index and their exact
// content (rich-text runs, phonetic blocks); new strings are appended once each.
class SharedStrings {
public:
    // Parses the SST body with its CONTINUE bodies. Strings whose data ends early are kept as
    // far as they go; false only when nothing sensible can be kept.
    bool parse(const std::vector<QByteArray>& bodies, QString& reason);

    // The index of a new text, appending it unless it was appended before.
    uint32_t add(const QString& text);

    uint32_t count() const { return uint32_t(strings_.size()); }

    // Appends SST + CONTINUE records and the matching EXTSST record to out. streamBase is the
    // absolute stream position of out's first byte (EXTSST holds absolute positions); refs the
    // number of LABELSST cells in the whole workbook.
    void write(QByteArray& out, uint32_t streamBase, uint32_t refs) const;

private:
    // One string, re-joined: the fixed part, the characters at one width, runs, phonetic data.
    struct Entry {
        uint16_t cch = 0;
        uint8_t flags = 0;  // bit 0 UTF-16, bit 2 phonetic, bit 3 rich text
        QByteArray chars;
        QByteArray runs;
        QByteArray phonetic;
    };
    static Entry fromText(const QString& text);

    std::vector<Entry> strings_;
    QHash<QString, uint32_t> added_;
};

}  // namespace sortilo::xlsedit
