#include "roster/Roster.h"

#include "platform/AppFiles.h"
#include "platform/Texts.h"

#include <QFileInfo>
#include <QMap>

#include <algorithm>

namespace sortilo {

namespace {

constexpr int FirstNameRow = 3;

// Both roster buttons refuse while another program has a workbook of the folder open: its copy
// would overwrite what the user changes, or be stale.
bool spreadsheetRunning(const WorkbookService& workbooks, const QString& appFolder) {
    return workbooks.heldElsewhere(appFilePath(appFolder, ImportWorkbookName)) ||
           workbooks.heldElsewhere(appFilePath(appFolder, ExportWorkbookName));
}

// The names listed more than once, with their counts, in the order they first appear. Counted
// over a sorted copy: with 2000 names, half as costly as a hash of them.
QList<std::pair<QString, int>> repeatedNames(const QStringList& names) {
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end());
    QMap<QString, int> counts;
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype end = i + 1;
        while (end < sorted.size() && sorted[end] == sorted[i]) {
            ++end;
        }
        if (end - i > 1) {
            counts.insert(sorted[i], static_cast<int>(end - i));
        }
        i = end;
    }
    QList<std::pair<QString, int>> repeated;
    for (const QString& name : names) {
        if (const auto found = counts.constFind(name); found != counts.constEnd()) {
            repeated.append({name, *found});
            counts.erase(found);
        }
    }
    return repeated;
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
    import.repeated = repeatedNames(column->names);
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
