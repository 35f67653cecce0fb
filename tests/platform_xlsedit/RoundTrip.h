#pragma once

#include "platform/xlsedit/CellTable.h"
#include "support/XlrdDump.h"

#include <QHash>
#include <QPair>
#include <QString>

using Written = QHash<QPair<int, int>, QString>;  // zero-based (row, col) -> text

// Checks xlrd's reading after an edit of sheet `active` against the reading before it: cells
// outside `range` and every other sheet unchanged; inside, the written texts exact and every
// other cell blank with the format it had. Reports through QTest.
void compareBooks(const XlrdBook& before, const XlrdBook& after, const QString& active,
                  const sortilo::xlsedit::CellRect& range, const Written& written);

// Checks the saved file's own bookkeeping: sheet offsets land on BOFs, INDEX entries on
// DBCELLs whose offsets lead back to ROW records, EXTSST entries on string starts inside
// SST/CONTINUE records, DIMENSIONS covering exactly the cells of the edited sheet; the other
// sheets' INDEX entries as valid as they were in the original. Reports through QTest.
void checkStructure(const QString& original, const QString& saved, int activeSheet);
