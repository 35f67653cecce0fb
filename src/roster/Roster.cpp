#include "roster/Roster.h"

#include "platform/AppFiles.h"

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

Result<void> importRoster(DrawSession& session, const WorkbookService& workbooks,
                          const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return fault(ErrorKind::SpreadsheetRunning);
    }
    // The whole roster is read before anything is reset: a workbook that cannot be read must
    // not cost the groups of an evening that were not exported yet.
    const Result<QStringList> names = readRoster(workbooks, appFolder);
    if (!names) {
        return names.error();
    }
    session.importRoster(*names);
    return {};
}

Result<void> editRoster(const WorkbookService& workbooks, const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return fault(ErrorKind::SpreadsheetRunning);
    }
    return workbooks.show(appFilePath(appFolder, ImportWorkbookName));
}

}  // namespace sortilo
