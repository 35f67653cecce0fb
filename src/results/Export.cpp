#include "results/Export.h"

#include "platform/AppFiles.h"

namespace sortilo {

namespace {

const QString ExportRange = QStringLiteral("A1:AZ5000");

Result<void> writeGroups(xlsedit::EditableWorkbook& book, const DrawModel& draw) {
    Result<void> done = book.clearRange(ExportRange);
    for (const Group& group : draw.groups()) {
        const int g = group.number;
        const QStringList names = draw.names(group.members);
        for (int k = 0; k < names.size() && done; ++k) {
            done = book.writeCell(k + 2, g, names[k]);
        }
        if (!done) {
            return done;
        }
        done = book.writeCell(1, g, draw.title(g));
    }
    return done ? book.save() : done;
}

}  // namespace

Result<void> exportResults(const WorkbookService& workbooks, const DrawModel& draw,
                           const QString& appFolder) {
    const QString path = appFilePath(appFolder, ExportWorkbookName);
    // The workbook is edited in memory and written back in one step at the save, so a failure at
    // any point leaves the file on disk as it was.
    Result<xlsedit::EditableWorkbook> book = workbooks.edit(path);
    const Result<void> saved = book ? writeGroups(*book, draw) : Result<void>(book.error());
    if (!saved) {
        return saved;
    }
    const Result<void> shown = workbooks.show(path);
    if (!shown && shown.error().kind == ErrorKind::NotShown) {
        // The results are saved all the same; the operator needs to know that, and where.
        return Error(ErrorKind::SavedNotShown, path);
    }
    return shown;
}

}  // namespace sortilo
