#include "results/Export.h"

#include "app/Form1.h"
#include "platform/AppFiles.h"
#include "platform/SheetErrorText.h"

namespace sortilo {

namespace {

const QString ExportRange = QStringLiteral("A1:AZ5000");

// Row 1 the titles, column g the names of group g from row 2 down, in recorded order.
SheetError writeGroups(SpreadsheetService& excel, const DrawState& state) {
    SheetError error = excel.ClearRange(ExportRange);
    for (int g = 1; g <= state.groupCount && !error; ++g) {
        for (int k = 1; k <= state.groupSizes(g) && !error; ++k) {
            error = excel.WriteCell(k + 1, g, state.groupResults(k, g));
        }
        if (!error) {
            error = excel.WriteCell(1, g, state.groupTitles(g));
        }
    }
    return error;
}

}  // namespace

void Command9_Click(Form1& form) {
    Services& services = form.services();
    const QString path = appFilePath(services.appFolder, ExportWorkbookName);
    std::unique_ptr<SpreadsheetService> excel = services.spreadsheets();
    excel->CreateApplication();
    // The workbook is edited in memory and written back in one step at the save, so a failure at
    // any point leaves the file on disk as it was.
    SheetError error = excel->OpenWorkbook(path);
    if (!error) {
        excel->SetDisplayAlerts(false);
        error = writeGroups(*excel, form.state());
    }
    if (!error) {
        error = excel->SaveActiveWorkbook();
    }
    if (error) {
        excel->CloseAllWorkbooks();
        excel->ReleaseApplication();
        services.messages->show(describeSheetError(ExportWorkbookName, error));
        return;
    }
    excel->ShowApplication();
    excel->ReleaseApplication();
}

}  // namespace sortilo
