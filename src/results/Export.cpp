#include "results/Export.h"

#include "platform/AppFiles.h"
#include "platform/SheetErrorText.h"
#include "platform/Texts.h"

#include <QDir>

namespace sortilo {

namespace {

const QString ExportRange = QStringLiteral("A1:AZ5000");

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

QString exportResults(SpreadsheetService& excel, const DrawState& state, const QString& appFolder) {
    excel.CreateApplication();
    // The workbook is edited in memory and written back in one step at the save, so a failure at
    // any point leaves the file on disk as it was.
    const QString path = appFilePath(appFolder, ExportWorkbookName);
    SheetError error = excel.OpenWorkbook(path);
    if (!error) {
        excel.SetDisplayAlerts(false);
        error = writeGroups(excel, state);
    }
    if (!error) {
        error = excel.SaveActiveWorkbook();
    }
    if (error) {
        excel.CloseAllWorkbooks();
        excel.ReleaseApplication();
        return describeSheetError(ExportWorkbookName, error);
    }
    const bool shown = excel.ShowApplication();
    excel.ReleaseApplication();
    // The results are saved either way; the operator needs to know that, and where to find them.
    return shown ? QString() : texts::ExportNotShown.arg(QDir::toNativeSeparators(path));
}

}  // namespace sortilo
