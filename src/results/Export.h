#pragma once

#include "draw/engine/DrawModel.h"
#include "platform/WorkbookService.h"

namespace sortilo {

// "导出": writes every recorded group into the export workbook (row 1 the titles, column g the
// names of group g from row 2 down, the rest of A1:AZ5000 cleared), saves it and hands it to the
// desktop. On a failure to save the file is as it was. A desktop that cannot open the saved
// workbook is ErrorKind::SavedNotShown: the results are saved all the same.
Result<void> exportResults(const WorkbookService& workbooks, const DrawModel& draw,
                           const QString& appFolder);

}  // namespace sortilo
