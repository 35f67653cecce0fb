#include "roster/Roster.h"

#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"
#include "platform/Texts.h"

namespace sortilo {

namespace {

constexpr int FirstNameRow = 3;

// Both roster buttons refuse while another program has a workbook of the folder open: its copy
// would overwrite what the user changes, or be stale.
bool spreadsheetRunning(const WorkbookService& workbooks, const QString& appFolder) {
    return workbooks.heldElsewhere(appFilePath(appFolder, ImportWorkbookName)) ||
           workbooks.heldElsewhere(appFilePath(appFolder, ExportWorkbookName));
}

}  // namespace

// Every name is read before the pool changes, so a cell that cannot become a name leaves the old
// pool whole.
Result<QStringList> readRoster(const WorkbookService& workbooks, const QString& appFolder) {
    return workbooks.readNames(appFilePath(appFolder, ImportWorkbookName), FirstNameRow, MaxRoster);
}

QString importRoster(DrawSession& session, const WorkbookService& workbooks,
                     const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return texts::SpreadsheetOpen;
    }
    session.reset();
    const Result<QStringList> names = readRoster(workbooks, appFolder);
    if (!names) {
        return errorMessage(names.error());
    }
    session.importPool(*names);
    return {};
}

QString editRoster(const WorkbookService& workbooks, const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return texts::SpreadsheetOpen;
    }
    const Result<void> shown = workbooks.show(appFilePath(appFolder, ImportWorkbookName));
    return shown ? QString() : errorMessage(shown.error());
}

}  // namespace sortilo
