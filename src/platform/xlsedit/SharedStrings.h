#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xlsedit {

// The workbook's shared string table. Strings that cells refer to keep their index and their
// exact content (rich-text runs, phonetic blocks), so other sheets stay as they are. Slots no
// cell refers to any more (an earlier export's names, once cleared) take the new strings, so a
// workbook exported into again and again does not grow.
class SharedStrings {
public:
    // Parses the SST body with its CONTINUE bodies; false when a string is cut short.
    bool parse(const std::vector<QByteArray>& bodies, QString& reason);

    // Counts a LABELSST cell of the workbook as it was read, or one that is cleared.
    void reference(uint32_t index);
    void release(uint32_t index);

    // The index for a new text cell (counted as referenced): the slot of the same text added
    // before, else a slot nobody refers to, else a new one.
    uint32_t add(const QString& text);

    uint32_t count() const { return uint32_t(strings_.size()); }

    // Appends SST + CONTINUE records and the matching EXTSST record to out. streamBase is the
    // absolute stream position of out's first byte (EXTSST holds absolute positions); refs the
    // number of LABELSST cells in the whole workbook. Unreferenced slots at the end are left
    // out.
    void write(QByteArray& out, uint32_t streamBase, uint32_t refs) const;

private:
    // One string, re-joined in pool_: characters at one width, then runs, then the phonetic
    // block. One pool instead of an allocation per string keeps big exports quick.
    struct Entry {
        uint32_t offset = 0;
        uint32_t charBytes = 0;
        uint32_t runBytes = 0;
        uint32_t phoneticBytes = 0;
        uint16_t cch = 0;
        uint8_t flags = 0;   // bit 0 UTF-16, bit 2 phonetic, bit 3 rich text
        bool added = false;  // put there by add()
    };
    Entry append(const QString& text);
    QString textOf(const Entry& e) const;
    uint32_t freeSlot();

    QByteArray pool_;
    std::vector<Entry> strings_;
    std::vector<uint32_t> refs_;
    std::vector<uint32_t> free_;  // unreferenced slots, lowest last
    bool freeListBuilt_ = false;
    QHash<QString, uint32_t> added_;
};

}  // namespace sortilo::xlsedit
