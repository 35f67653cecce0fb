#pragma once

#include "platform/SpreadsheetService.h"
#include "platform/xls/CellStore.h"
#include "platform/xls/CellValue.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

namespace sortilo::xls {

enum class WorkbookFormat { Biff8, Biff5, Xlsx };

struct SheetInfo {
    enum class Type { Worksheet, MacroSheet, Chart, VbModule, Other };
    QString name;
    Type type = Type::Worksheet;
    bool hidden = false;
};

// A workbook read from a file: its sheets and the cells of the sheet that opens (the active
// sheet recorded in the file). Reads .xls (BIFF8, BIFF5/7, also when encrypted with the
// spreadsheet programs' default password) and .xlsx content, whatever the file is called.
class Workbook {
public:
    // Reads the file; on failure returns nothing and says why in `error`.
    static std::optional<Workbook> open(const QString& path, SheetError& error);
    static std::optional<Workbook> fromBytes(const QByteArray& bytes, SheetError& error);

    WorkbookFormat format() const { return format_; }
    QString formatName() const;  // "biff8", "biff5", "xlsx"
    const std::vector<SheetInfo>& sheets() const { return sheets_; }
    int activeSheetIndex() const { return active_; }
    QString activeSheetName() const { return sheets_[size_t(active_)].name; }

    // A cell of the active sheet; rows and columns count from 1.
    CellValue cell(int row, int column) const;
    // The non-empty cells of the active sheet in row, then column order.
    const CellStore& cells() const { return cells_; }

    // Filled in by the format readers.
    struct Parts {
        WorkbookFormat format = WorkbookFormat::Biff8;
        std::vector<SheetInfo> sheets;
        int active = 0;
        CellStore cells;
    };
    explicit Workbook(Parts parts);

private:
    WorkbookFormat format_;
    std::vector<SheetInfo> sheets_;
    int active_;
    CellStore cells_;
};

// The sheet that opens: the recorded one when it is a valid index, else the first visible
// worksheet. Returns -1 when the workbook has no sheets.
int resolveActiveSheet(const std::vector<SheetInfo>& sheets, long recorded);

}  // namespace sortilo::xls
