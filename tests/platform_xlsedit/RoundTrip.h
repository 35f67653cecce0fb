#pragma once

#include "platform/xls/Biff.h"
#include "platform/xlsedit/CellTable.h"
#include "support/Files.h"
#include "support/TestData.h"
#include "support/XlrdDump.h"

#include <QHash>
#include <QPair>
#include <QString>

#include <functional>

using Written = QHash<QPair<int, int>, QString>;  // zero-based (row, col) -> text

// Checks xlrd's reading after an edit of sheet `active` against the one before: written texts
// exact, the rest of the cleared `range` blank, all else unchanged; cells keep their formats; no
// merged area hides a written cell, the others stay. These checks report through QTest.
void compareBooks(const XlrdBook& before, const XlrdBook& after, const QString& active,
                  const sortilo::xlsedit::CellRect& range, const Written& written);

// Checks the saved file's bookkeeping: sheet offsets on BOFs, INDEX entries on DBCELLs leading
// back to ROWs, EXTSST entries inside SST/CONTINUE, DIMENSIONS exactly the edited sheet's cells;
// the other sheets' INDEX entries as valid as in the original.
void checkStructure(const QString& original, const QString& saved, int activeSheet);

using sortilo::test::corpusFile;

// A copy of a corpus workbook in `folder`, named as the export workbook; empty when it fails.
QString copyIn(const QString& folder, const QString& file = QStringLiteral("poi_12843-2.xls"));

// Writes to `path` a copy of the workbook `original` whose Workbook stream `change` has altered
// (its records and sections as splitRecords finds them); false when either file fails.
bool writeAltered(const QString& original, const QString& path,
                  const std::function<void(sortilo::xls::RecordStream&)>& change);

// Checks what an export leaves besides cells: formulas flagged to be calculated again, one
// UNCALCED right after the BOF of each sheet with them, no engine named in RECALCID; the edited
// sheet's views at the top-left (frozen panes at the split), A1 selected, the rest as it was.
void checkExportMarks(const QString& original, const QString& saved, int activeSheet);
