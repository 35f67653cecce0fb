#pragma once

#include "draw/DrawSession.h"
#include "platform/WorkbookService.h"

#include <QStringList>

#include <utility>

namespace sortilo {

// What an import took from the roster workbook as it is, and what the operator should hear about:
// what it left out and the names it found more than once (each of them is an entry of its own).
struct RosterImport {
    QString file;             // the roster workbook
    int emptyRow = 0;         // the first empty cell of column A, when names lie below it
    int namesBelowEmpty = 0;  // those names
    int namesOverLimit = 0;   // the names past the 2000th, above the first empty cell
    QList<std::pair<QString, int>> repeated;  // names there more than once, how often; in order
};

// Column A of the import workbook's sheet that opens, from row 3 down to the first empty cell, at
// most 2000 names, and what lies past them; or what is wrong with the workbook (a cell that cannot
// become a name among the names).
Result<NameColumn> readRoster(const WorkbookService& workbooks, const QString& appFolder);

// "导 入 数 据": refuses while another program holds a workbook of the folder; otherwise reads the
// whole roster, then starts a new draw session on its names. A workbook that cannot be read
// changes nothing: the groups, the pool and the draw settings stay as they were.
Result<RosterImport> importRoster(DrawSession& session, const WorkbookService& workbooks,
                                  const QString& appFolder);

// The one message about an import that left names out or found some more than once, naming the
// file and each finding; empty when the roster came in whole and every name once.
QString importNotice(const RosterImport& import);

// "编辑被抽对象": hands the import workbook to the desktop's spreadsheet program.
Result<void> editRoster(const WorkbookService& workbooks, const QString& appFolder);

}  // namespace sortilo
