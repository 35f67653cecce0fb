#pragma once

#include "draw/DrawSession.h"
#include "platform/WorkbookService.h"

#include <QStringList>

namespace sortilo {

// Column A of the import workbook's sheet that opens, from row 3 down to the first empty cell, at
// most 2000 names; or what is wrong with the workbook (a cell that cannot become a name among it).
Result<QStringList> readRoster(const WorkbookService& workbooks, const QString& appFolder);

// "导 入 数 据": refuses while another program holds a workbook of the folder; otherwise reads the
// whole roster, then starts a new draw session on its names. A workbook that cannot be read
// changes nothing: the groups, the pool and the draw settings stay as they were.
Result<void> importRoster(DrawSession& session, const WorkbookService& workbooks,
                          const QString& appFolder);

// "编辑被抽对象": hands the import workbook to the desktop's spreadsheet program.
Result<void> editRoster(const WorkbookService& workbooks, const QString& appFolder);

}  // namespace sortilo
