#pragma once

#include "platform/SpreadsheetService.h"
#include "platform/xlsedit/BiffRecords.h"
#include "platform/xlsedit/CellTable.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/SharedStrings.h"

#include <QString>

#include <vector>

namespace sortilo::xls {
struct SheetDirectory;
}

namespace sortilo::xlsedit {

// Everything an open editable workbook holds. Records we do not change stay in `stream` and
// are copied from there on every save.
struct WorkbookState {
    QString path;
    CompoundFile file;
    CfbNode* workbook = nullptr;  // the Workbook stream inside `file`
    RecordStream stream;

    struct Sheet {
        int record = -1;   // its BOUNDSHEET in the globals
        int section = -1;  // its BOF..EOF section
        QString name;
        uint8_t type = 0;  // 0 worksheet, 1 macro, 2 chart, 6 VB module
        uint8_t visibility = 0;
    };
    std::vector<Sheet> sheets;
    int active = -1;  // index into sheets
    int sstRecord = -1;
    uint32_t otherLabelSst = 0;  // LABELSST cells outside the edited sheet
    bool changed = false;        // cells were cleared or written since opening
    SharedStrings sst;
    CellTable table;

    // Reads the file's bytes into this state; the error says why editing is refused.
    SheetError load(const QByteArray& bytes);
    // Lets go of the shared strings of text cells the table has cleared or overwritten.
    void releaseStrings() {
        for (uint32_t index : table.takeReleased())
            sst.release(index);
    }
    // The Workbook stream as it stands after the edits.
    QByteArray buildStream() const;

private:
    SheetError readGlobals(xls::SheetDirectory& directory);
    SheetError mapSheets(const xls::SheetDirectory& directory);
    void writeGlobals(QByteArray& out, std::vector<qsizetype>& sheetRecordPos) const;
    void copySheet(QByteArray& out, const Section& section) const;
};

}  // namespace sortilo::xlsedit
