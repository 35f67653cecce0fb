#pragma once

#include "platform/SpreadsheetService.h"

#include <QString>

#include <memory>

namespace sortilo::xlsedit {

struct WorkbookState;

// A BIFF8 workbook (.xls) opened for changing cells of its active sheet and saving it back in
// place. Everything the edit does not touch is written back as it was: other sheets, formats,
// drawings, names, macros and every other part of the file. Rows and columns count from 1.
class EditableWorkbook {
public:
    // Opens and checks the workbook; nullptr and the reason when it cannot be edited safely
    // (not there, unreadable, encrypted, xlsx or BIFF5 content, damaged, or records that leave
    // in doubt which sheet opens or where a sheet lies).
    static std::unique_ptr<EditableWorkbook> open(const QString& path, SheetError& error);
    ~EditableWorkbook();
    EditableWorkbook(const EditableWorkbook&) = delete;
    EditableWorkbook& operator=(const EditableWorkbook&) = delete;

    // Removes values and formulas from the cells of an A1-style range ("A1:AZ5000"), keeping
    // each cell's format. Changes nothing when it fails.
    SheetError clearRange(const QString& a1Range);
    // Puts text into a cell as text, whatever it looks like ("=1+1", "007" stay text),
    // keeping the cell's format; the empty text leaves the cell empty. At most 32767 characters.
    SheetError writeCell(int row, int column, const QString& text);
    // Writes the workbook back to its file; on failure the file is as it was before. Once cells
    // have changed, every formula of the workbook is marked to be calculated again when it is
    // opened (they may read the changed cells), and the edited sheet opens at its top-left
    // corner with A1 selected, where the new contents begin.
    SheetError save();

    QString path() const;
    // The sheet being edited: its position among the workbook's tabs and its name.
    int activeSheetIndex() const;
    QString activeSheetName() const;

private:
    explicit EditableWorkbook(std::unique_ptr<WorkbookState> state);
    std::unique_ptr<WorkbookState> d;
};

// Parses a whole .xls file far enough to edit it: the check a saved file must pass.
SheetError checkEditable(const QByteArray& fileBytes);

}  // namespace sortilo::xlsedit
