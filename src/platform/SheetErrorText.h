#pragma once

#include "platform/SpreadsheetService.h"

#include <QString>

namespace sortilo {

// One sentence for the operator naming the file (and the cell, for a value that is no text)
// and what is wrong with it. Empty when there is no error.
QString describeSheetError(const QString& fileName, const SheetError& error);

}  // namespace sortilo
