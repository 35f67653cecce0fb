#pragma once

#include "base/Result.h"

#include <QString>

#include <memory>

namespace sortilo::xlsedit {

struct WorkbookState;

// A BIFF8 workbook (.xls) opened for changing cells of the sheet that opens and saving it back
// in place. Everything the edit does not touch is written back as it was: other sheets,
// formats, drawings, names, macros and every other part of the file. Rows and columns count
// from 1. Every error names the workbook's file.
class EditableWorkbook {
public:
    // Opens and checks the workbook: refused when it is not there or unreadable, encrypted,
    // xlsx or BIFF5 content, damaged, opens on no worksheet, or has records that leave in doubt
    // which sheet opens or where a sheet lies.
    static Result<EditableWorkbook> open(const QString& path);
    // The same for a file's bytes (checking a saved file, fuzzing).
    static Result<EditableWorkbook> fromBytes(const QByteArray& bytes, const QString& path = {});
    EditableWorkbook(EditableWorkbook&&) noexcept;
    EditableWorkbook& operator=(EditableWorkbook&&) noexcept;
    ~EditableWorkbook();

    // Removes values and formulas from the cells of an A1-style range ("A1:AZ5000"), keeping
    // each cell's format. Changes nothing when it fails.
    Result<void> clearRange(const QString& a1Range);
    // Puts text into a cell as text, whatever it looks like ("=1+1", "007" stay text),
    // keeping the cell's format; the empty text leaves the cell empty. At most 32767 characters.
    // The save undoes the sheet's merged areas that take in a cell given text (their cells keep
    // their formats): a merged area shows its first cell only.
    Result<void> writeCell(int row, int column, const QString& text);
    // Writes the workbook back to its file; on failure the file is as it was before. Once cells
    // have changed, every formula of the workbook is marked to be calculated again when it is
    // opened (they may read the changed cells), and the edited sheet opens at its top-left
    // corner with A1 selected, where the new contents begin.
    Result<void> save();

    // The sheet being edited: its position among the workbook's tabs and its name.
    int activeSheetIndex() const;
    QString activeSheetName() const;

private:
    explicit EditableWorkbook(std::unique_ptr<WorkbookState> state);
    Result<void> changed(Result<void> done);
    std::unique_ptr<WorkbookState> d;
};

}  // namespace sortilo::xlsedit
