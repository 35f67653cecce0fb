#include "roster/Roster.h"

#include "platform/AppFiles.h"
#include "platform/Texts.h"

#include <QFileInfo>
#include <QHash>

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
Result<NameColumn> readRoster(const WorkbookService& workbooks, const QString& appFolder) {
    return workbooks.readNames(appFilePath(appFolder, ImportWorkbookName), FirstNameRow, MaxRoster);
}

Result<RosterImport> importRoster(DrawSession& session, const WorkbookService& workbooks,
                                  const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return fault(ErrorKind::SpreadsheetRunning);
    }
    // The whole roster is read before anything is reset: a workbook that cannot be read must
    // not cost the groups of an evening that were not exported yet.
    const Result<NameColumn> column = readRoster(workbooks, appFolder);
    if (!column) {
        return column.error();
    }
    session.importRoster(column->names);
    RosterImport import{appFilePath(appFolder, ImportWorkbookName),
                        column->emptyRow,
                        column->belowEmpty,
                        column->overLimit,
                        {}};
    QHash<QString, int> counts;
    for (const QString& name : column->names) {
        ++counts[name];
    }
    for (const QString& name : column->names) {
        if (const int n = counts.take(name); n > 1) {
            import.repeated.append({name, n});
        }
    }
    return import;
}

QString importNotice(const RosterImport& import) {
    QStringList lines;
    if (import.namesBelowEmpty > 0) {
        lines << texts::RosterEmptyCell.arg(import.emptyRow).arg(import.namesBelowEmpty);
    }
    if (import.namesOverLimit > 0) {
        lines << texts::RosterOverLimit;
    }
    if (!import.repeated.isEmpty()) {
        // The first few are enough to find them in the workbook.
        constexpr int Named = 5;
        QStringList names;
        for (const auto& [name, count] : import.repeated.mid(0, Named)) {
            names << texts::RepeatedName.arg(name, QString::number(count));
        }
        QString list = names.join(texts::NameSeparator);
        if (import.repeated.size() > Named) {
            list += texts::RepeatedNamesMore;
        }
        lines << texts::RosterRepeatedNames.arg(list);
    }
    if (lines.isEmpty()) {
        return {};
    }
    lines.prepend(texts::RosterNotWhole.arg(QFileInfo(import.file).fileName()));
    return lines.join(QLatin1Char('\n'));
}

Result<void> editRoster(const WorkbookService& workbooks, const QString& appFolder) {
    if (spreadsheetRunning(workbooks, appFolder)) {
        return fault(ErrorKind::SpreadsheetRunning);
    }
    return workbooks.show(appFilePath(appFolder, ImportWorkbookName));
}

}  // namespace sortilo
