#include "results/Export.h"

#include "platform/AppFiles.h"
#include "platform/ErrorMessage.h"

namespace sortilo {

namespace {

const QString ExportRange = QStringLiteral("A1:AZ5000");

Result<void> writeGroups(xlsedit::EditableWorkbook& book, const DrawState& state) {
    Result<void> done = book.clearRange(ExportRange);
    for (int g = 1; g <= state.groupCount && done; ++g) {
        for (int k = 1; k <= state.groupSizes(g) && done; ++k) {
            done = book.writeCell(k + 1, g, state.groupResults(k, g));
        }
        if (done) {
            done = book.writeCell(1, g, state.groupTitles(g));
        }
    }
    return done ? book.save() : done;
}

}  // namespace

QString exportResults(const WorkbookService& workbooks, const DrawState& state,
                      const QString& appFolder) {
    const QString path = appFilePath(appFolder, ExportWorkbookName);
    // The workbook is edited in memory and written back in one step at the save, so a failure at
    // any point leaves the file on disk as it was.
    Result<xlsedit::EditableWorkbook> book = workbooks.edit(path);
    const Result<void> saved = book ? writeGroups(*book, state) : Result<void>(book.error());
    if (!saved) {
        return errorMessage(saved.error());
    }
    const Result<void> shown = workbooks.show(path);
    return shown ? QString() : errorMessage(shown.error());
}

}  // namespace sortilo
