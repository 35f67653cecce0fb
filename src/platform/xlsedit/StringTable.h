#pragma once

#include "platform/xls/SharedStrings.h"

#include <QByteArray>
#include <QHash>
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
    void write(QByteArray& out, uint32_t streamBase, uint32_t refs) const;

private:
    uint32_t freeSlot();

    xls::SharedStrings table_;
    std::vector<uint32_t> refs_;
    std::vector<bool> added_;     // put there by add()
    std::vector<uint32_t> free_;  // unreferenced slots, lowest last
    bool freeListBuilt_ = false;
    QHash<QString, uint32_t> byText_;  // the slots add() filled, by their text
};

}  // namespace sortilo::xlsedit
