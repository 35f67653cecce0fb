#pragma once

#include "draw/engine/DrawState.h"
#include "platform/WorkbookService.h"

namespace sortilo {

// "导出": writes every recorded group into the export workbook (row 1 the titles, column g the
// names of group g from row 2 down, the rest of A1:AZ5000 cleared), saves it and hands it to the
// desktop. Returns the message for the operator, empty when it was saved and shown; on a failure
// to save the file is as it was. A desktop that cannot open the saved workbook gets a message
// saying the results were saved, and where.
QString exportResults(const WorkbookService& workbooks, const DrawState& state,
                      const QString& appFolder);

}  // namespace sortilo
