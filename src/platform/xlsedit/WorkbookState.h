#pragma once

#include "base/Result.h"
#include "platform/xls/BiffBook.h"
#include "platform/xlsedit/CellTable.h"
#include "platform/xlsedit/StringTable.h"

#include <QString>

#include <vector>

namespace sortilo::xlsedit {

// Everything an open editable workbook holds. Records the edit does not change stay in the
// record stream and are copied from there on every save.
struct WorkbookState {
    QString path;
    xls::BiffBook book;
    int active = -1;             // the sheet being edited, among the workbook's sheets
    uint32_t otherLabelSst = 0;  // LABELSST cells outside the edited sheet
    bool changed = false;        // cells were cleared or written since opening
    StringTable sst;
    CellTable table;

    // Reads the file's bytes into this state; the error says why editing is refused.
    Result<void> load(const QByteArray& bytes);
    // Lets go of the shared strings of text cells the table has cleared or overwritten.
    void releaseStrings() {
        for (uint32_t index : table.takeReleased())
            sst.release(index);
    }
    // The workbook stream as it stands after the edits.
    QByteArray buildStream() const;
    xls::CfbNode& streamNode() { return book.file.root.children[size_t(book.entry)]; }

private:
    Result<void> check() const;
    void countTextCells();
    void writeGlobals(StreamOut& out, std::vector<qsizetype>& sheetRecordPos) const;
    void copySheet(StreamOut& out, const Section& section) const;
};

}  // namespace sortilo::xlsedit
