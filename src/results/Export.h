#pragma once

#include "draw/engine/DrawState.h"
#include "platform/WorkbookService.h"

namespace sortilo {

// "导出": writes every recorded group into the export workbook (row 1 the titles, column g the
// names of group g from row 2 down, the rest of A1:AZ5000 cleared), saves it and hands it to the
// desktop. Returns the message for the operator, empty when it was saved and shown; on a failure
// the file is as it was.
QString exportResults(const WorkbookService& workbooks, const DrawState& state,
                      const QString& appFolder);

}  // namespace sortilo
