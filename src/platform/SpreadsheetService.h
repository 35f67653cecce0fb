#pragma once

#include "platform/xls/CellValue.h"

#include <QString>

namespace sortilo {

// What went wrong with a workbook, in terms a message to the operator can name.
enum class SheetProblem {
    None,
    Missing,            // no such file
    Unreadable,         // exists but cannot be read (permissions, I/O error)
    OpenElsewhere,      // another program holds it open (a lock file beside it)
    PasswordProtected,  // encrypted with a password of the user's
    NotAWorkbook,       // some other kind of file under a workbook's name; detail says which
    UnsupportedFormat,  // a workbook of a kind not handled (BIFF2-4, or xlsx for writing)
    Corrupt,            // damaged container or record stream
    CellNotText,        // a cell whose value cannot become text (an error value); detail = "A17"
    NotSaved,           // writing the file failed; the original is unchanged
    HardLinked,         // not saved: the file has several names, which saving would split
    NotEditable,        // holds something the in-place edit cannot change safely
    NoSheet,            // the sheet that opens holds no cells (a chart sheet)
};

struct SheetError {
    SheetProblem problem = SheetProblem::None;
    QString detail;  // what exactly: the kind of file, the cell, the system's error text

    explicit operator bool() const { return problem != SheetProblem::None; }
};

// The operations the import, the roster editing and the export perform on workbooks. They keep
// the names of the spreadsheet application's automation calls they stand in for, so the handlers
// read like the steps they implement. Rows and columns count from 1; cell operations act on the
// active sheet of the workbook opened last.
class SpreadsheetService {
public:
    virtual ~SpreadsheetService() = default;

    // True when another program has one of the application folder's workbooks open.
    // Any failure of the look-up counts as not found.
    virtual bool FindRunningApplication(const QString& className) = 0;
    virtual void CreateApplication() = 0;
    virtual SheetError OpenWorkbook(const QString& path) = 0;
    virtual xls::CellValue ReadCell(int row, int column) const = 0;
    virtual SheetError WriteCell(int row, int column, const QString& text) = 0;
    virtual SheetError ClearRange(const QString& a1Range) = 0;
    virtual void SetDisplayAlerts(bool on) = 0;
    virtual SheetError SaveActiveWorkbook() = 0;
    // Hands the workbook opened last to the desktop's spreadsheet program; false when the desktop
    // could not open it (no program for it, a broken file association).
    virtual bool ShowApplication() = 0;
    virtual void QuitApplication() = 0;
    virtual void CloseAllWorkbooks() = 0;
    virtual void ReleaseApplication() = 0;
};

}  // namespace sortilo
