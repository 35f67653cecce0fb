#include "app/Form1.h"
#include "draw/DrawHandlers.h"
#include "draw/Reset.h"
#include "platform/AppFiles.h"
#include "platform/SheetErrorText.h"
#include "platform/Texts.h"
#include "platform/xls/CellText.h"
#include "roster/Roster.h"

namespace sortilo {

namespace {

constexpr int FirstNameRow = 3;
const QString ExcelClass = QStringLiteral("excel.Application");

// Column A from row 3 down to the first empty cell, at most MaxRoster names. Every name is read
// before the pool changes, so a cell that cannot become a name leaves the old pool whole.
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

void replacePool(Form1& form, const QStringList& names) {
    DrawState& state = form.state();
    for (int k = 1; k <= names.size(); ++k) {
        state.roster(k) = names[k - 1];
    }
    state.rosterCount = static_cast<int16_t>(names.size());
    showPool(form);
}

// The instance's end, whichever way the import ends.
void closeInstance(SpreadsheetService& excel) {
    excel.QuitApplication();
    excel.CloseAllWorkbooks();
    excel.ReleaseApplication();
}

// Both roster buttons refuse while another program has a workbook of the folder open: its copy
// would overwrite what the user changes, or be stale.
std::unique_ptr<SpreadsheetService> instanceUnlessRunning(Services& services) {
    std::unique_ptr<SpreadsheetService> excel = services.spreadsheets();
    if (excel->FindRunningApplication(ExcelClass)) {
        services.messages->show(texts::SpreadsheetOpen);
        return nullptr;
    }
    return excel;
}

}  // namespace

void Command1_Click(Form1& form, int /*index*/) {
    Services& services = form.services();
    std::unique_ptr<SpreadsheetService> excel = instanceUnlessRunning(services);
    if (!excel) {
        return;
    }
    数据环境还原(form);
    excel->CreateApplication();
    QStringList names;
    SheetError error = excel->OpenWorkbook(appFilePath(services.appFolder, ImportWorkbookName));
    if (!error) {
        error = readNames(*excel, names);
    }
    closeInstance(*excel);
    if (error) {
        services.messages->show(describeSheetError(ImportWorkbookName, error));
        return;
    }
    replacePool(form, names);
}

void Command6_Click(Form1& form, int /*index*/) {
    Services& services = form.services();
    std::unique_ptr<SpreadsheetService> excel = instanceUnlessRunning(services);
    if (!excel) {
        return;
    }
    excel->CreateApplication();
    const SheetError error =
        excel->OpenWorkbook(appFilePath(services.appFolder, ImportWorkbookName));
    // Only a file that is not there (or cannot be read at all) stops the editing: whatever else
    // our reader dislikes, the user's spreadsheet program may still open and mend.
    if (error.problem == SheetProblem::Missing || error.problem == SheetProblem::Unreadable) {
        excel->ReleaseApplication();
        services.messages->show(describeSheetError(ImportWorkbookName, error));
        return;
    }
    excel->ShowApplication();
    excel->ReleaseApplication();
}

}  // namespace sortilo
