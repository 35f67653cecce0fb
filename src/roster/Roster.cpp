#include "roster/Roster.h"

#include "platform/AppFiles.h"
#include "platform/SheetErrorText.h"
#include "platform/Texts.h"
#include "platform/xls/CellText.h"

#include <QDir>

namespace sortilo {

namespace {

constexpr int FirstNameRow = 3;
const QString ExcelClass = QStringLiteral("excel.Application");

// Every name is read before the pool changes, so a cell that cannot become a name leaves the old
// pool whole.
SheetError readNames(const SpreadsheetService& excel, QStringList& names) {
    for (int r = FirstNameRow; r < FirstNameRow + MaxRoster; ++r) {
        const xls::CellValue cell = excel.ReadCell(r, 1);
        if (cell.isEmpty()) {
            break;
        }
        std::optional<QString> name = xls::valueAsText(cell);
        if (!name) {
            return {SheetProblem::CellNotText, xls::cellName(r, 1)};
        }
        names << *name;
    }
    return {};
}

}  // namespace

RosterReading readRoster(SpreadsheetService& excel, const QString& appFolder) {
    RosterReading reading;
    excel.CreateApplication();
    reading.error = excel.OpenWorkbook(appFilePath(appFolder, ImportWorkbookName));
    if (!reading.error) {
        reading.error = readNames(excel, reading.names);
    }
    excel.QuitApplication();
    excel.CloseAllWorkbooks();
    excel.ReleaseApplication();
    return reading;
}

// Both roster buttons refuse while another program has a workbook of the folder open: its copy
// would overwrite what the user changes, or be stale.
QString importRoster(DrawSession& session, SpreadsheetService& excel, const QString& appFolder) {
    if (excel.FindRunningApplication(ExcelClass)) {
        return texts::SpreadsheetOpen;
    }
    // The whole roster is read before anything is reset: a workbook that cannot be read must
    // not cost the groups of an evening that were not exported yet.
    const RosterReading reading = readRoster(excel, appFolder);
    if (reading.error) {
        return describeSheetError(ImportWorkbookName, reading.error);
    }
    session.reset();
    session.importPool(reading.names);
    return {};
}

QString editRoster(SpreadsheetService& excel, const QString& appFolder) {
    if (excel.FindRunningApplication(ExcelClass)) {
        return texts::SpreadsheetOpen;
    }
    excel.CreateApplication();
    const QString path = appFilePath(appFolder, ImportWorkbookName);
    const SheetError error = excel.OpenWorkbook(path);
    // Only a file that is not there (or cannot be read at all) stops the editing: whatever else
    // our reader dislikes, the user's spreadsheet program may still open and mend.
    if (error.problem == SheetProblem::Missing || error.problem == SheetProblem::Unreadable) {
        excel.ReleaseApplication();
        return describeSheetError(ImportWorkbookName, error);
    }
    const bool shown = excel.ShowApplication();
    excel.ReleaseApplication();
    // Without a word the operator could not tell a desktop that opened nothing from one that is
    // still starting its spreadsheet program.
    return shown ? QString() : texts::WorkbookNotShown.arg(QDir::toNativeSeparators(path));
}

}  // namespace sortilo
