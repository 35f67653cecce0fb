#pragma once

#include "platform/xls/SharedStrings.h"
#include "platform/xlsedit/StreamOut.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xlsedit {

// The workbook's shared string table as the edit changes it. Strings that cells refer to keep
// their index and their exact content (rich text runs, phonetic blocks), so other sheets stay as
// they are. Slots no cell refers to any more (an earlier export's names, once cleared) take the
// new strings, so a workbook exported into again and again does not grow.
class StringTable {
public:
    void take(xls::SharedStrings strings);

    // Counts a LABELSST cell of the workbook as it was read, or one that is cleared.
    void reference(uint32_t index);
    void release(uint32_t index);

    // The index for a new text cell (counted as referenced): the slot of the same text added
    // before, else a slot nobody refers to, else a new one.
    uint32_t add(const QString& text);

    uint32_t count() const { return uint32_t(table_.size()); }

    // Appends SST + CONTINUE records and the matching EXTSST record to out. streamBase is the
    // absolute stream position of out's first byte (EXTSST holds absolute positions); refs the
    // number of LABELSST cells in the whole workbook. Unreferenced slots at the end are left
    // out.
    void write(StreamOut& out, uint32_t streamBase, uint32_t refs) const;

private:
    uint32_t freeSlot();
    bool holds(uint32_t slot, const QString& text) const;
    uint32_t& placeOf(const QString& text);
    void reindex();

    xls::SharedStrings table_;
    std::vector<uint32_t> refs_;
    std::vector<bool> added_;     // put there by add()
    std::vector<uint32_t> free_;  // unreferenced slots, lowest last
    bool freeListBuilt_ = false;
    // The slots add() filled (+ 1; 0 is a free place), by the hash of their text, with linear
    // probing: a few operations where a hash of QStrings takes hundreds, for every name of an
    // export. A slot taken by another text since keeps its old place until the next reindex.
    std::vector<uint32_t> byText_;
    size_t placed_ = 0;
};

}  // namespace sortilo::xlsedit
