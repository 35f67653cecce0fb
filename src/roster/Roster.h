#pragma once

#include "draw/DrawSession.h"
#include "platform/WorkbookService.h"

#include <QStringList>

namespace sortilo {

// Column A of the import workbook's sheet that opens, from row 3 down to the first empty cell, at
// most 2000 names; or what is wrong with the workbook (a cell that cannot become a name among it).
Result<QStringList> readRoster(const WorkbookService& workbooks, const QString& appFolder);

// "导 入 数 据": refuses while another program holds a workbook of the folder; otherwise resets the
// draw and makes the workbook's names the pool. Returns the message for the operator, empty when
// the pool was replaced. A workbook that cannot be read leaves the pool as it was.
QString importRoster(DrawSession& session, const WorkbookService& workbooks,
                     const QString& appFolder);

// "编辑被抽对象": hands the import workbook to the desktop's spreadsheet program. Returns the
// message for the operator, empty when the workbook was handed over.
QString editRoster(const WorkbookService& workbooks, const QString& appFolder);

}  // namespace sortilo
