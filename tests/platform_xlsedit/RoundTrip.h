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

// Checks xlrd's reading after an edit of sheet `active` against the reading before it: the
// written texts exact, every other cell outside the cleared `range` and every other sheet
// unchanged, the rest of the range blank; cells keep their formats; no merged area hides a
// written cell, and the areas apart from them stay. Reports through QTest.
void compareBooks(const XlrdBook& before, const XlrdBook& after, const QString& active,
                  const sortilo::xlsedit::CellRect& range, const Written& written);

// Checks the saved file's own bookkeeping: sheet offsets land on BOFs, INDEX entries on
// DBCELLs whose offsets lead back to ROW records, EXTSST entries on string starts inside
// SST/CONTINUE records, DIMENSIONS covering exactly the cells of the edited sheet; the other
// sheets' INDEX entries as valid as they were in the original. Reports through QTest.
void checkStructure(const QString& original, const QString& saved, int activeSheet);

using sortilo::test::corpusFile;

// A copy of a corpus workbook in `folder`, named as the export workbook; empty when it fails.
QString copyIn(const QString& folder, const QString& file = QStringLiteral("poi_12843-2.xls"));

// Writes to `path` a copy of the workbook `original` whose Workbook stream `change` has altered
// (its records and sections as splitRecords finds them); false when either file fails.
bool writeAltered(const QString& original, const QString& path,
                  const std::function<void(sortilo::xls::RecordStream&)>& change);

// Checks what an export leaves besides cells: every formula flagged to be calculated again, one
// UNCALCED right after the BOF of each sheet with formulas, no calculation engine named in
// RECALCID; each view of the edited sheet at its top-left corner (frozen panes scrolled back to
// the split) with A1 selected in the active pane, its other view settings as in the original.
void checkExportMarks(const QString& original, const QString& saved, int activeSheet);
