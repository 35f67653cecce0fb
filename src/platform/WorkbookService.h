#pragma once

#include "base/Result.h"
#include "platform/DesktopOpener.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QString>
#include <QStringList>

namespace sortilo {

// Column A of a workbook's sheet that opens, as the roster reads it, and what the reading left
// out: names past the limit, names below the first empty cell.
struct NameColumn {
    QStringList names;   // from the first row down to the first empty cell, at most the limit
    int overLimit = 0;   // the names past the limit, above the first empty cell
    int emptyRow = 0;    // the first empty cell's row, when cells with names lie below it
    int belowEmpty = 0;  // those cells, down to the end of the sheet
};

// What the program does with workbooks: read them from their files, edit them in place, hand
// them to the desktop's spreadsheet program. No spreadsheet program is driven; "another program
// holds it" is what the lock files beside a workbook say.
class WorkbookService {
public:
    explicit WorkbookService(DesktopOpener& opener) : opener_(opener) {}

    // True when another program has the workbook open. Any failure of the look-up counts as no.
    bool heldElsewhere(const QString& path) const;
    // The text of column A of the sheet that opens, from `firstRow` down to the first empty
    // cell, at most `maxNames` of them; and what lies past them.
    Result<NameColumn> readNames(const QString& path, int firstRow, int maxNames) const;
    // The workbook opened for editing; refused while another program holds it, as that
    // program would overwrite the result with its stale copy when it saves.
    Result<xlsedit::EditableWorkbook> edit(const QString& path) const;
    // Hands the workbook to the desktop's spreadsheet program, when the file can be read.
    Result<void> show(const QString& path) const;

    // The lock files another program leaves beside a workbook it has open.
    static QStringList lockFileNames(const QString& workbookName);

private:
    DesktopOpener& opener_;
};

}  // namespace sortilo
