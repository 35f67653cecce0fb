#pragma once

#include "base/Result.h"
#include "platform/xls/CellStore.h"
#include "platform/xls/CellValue.h"
#include "platform/xls/SheetPlacement.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace sortilo::xls {

enum class WorkbookFormat { Biff8, Biff5, Xlsx, Html, Xml2003, Csv };

// A workbook read from a file: its sheets and the cells of the sheet that opens (the active
// sheet recorded in the file). Reads .xls (BIFF8, BIFF5/7, also when encrypted with the
// spreadsheet programs' default password) and .xlsx content, whatever the file is called, and
// what systems hand out under a workbook's name: HTML tables, XML Spreadsheet 2003, CSV text.
class Workbook {
public:
    static Result<Workbook> open(const QString& path);
    static Result<Workbook> fromBytes(const QByteArray& bytes);

    WorkbookFormat format() const { return format_; }
    QString formatName() const;  // "biff8", "biff5", "xlsx", "html", "xml2003", "csv"
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

// The refusal of content that no reader takes: what it is.
Error otherContent(const QByteArray& bytes, FileKind kind);

}  // namespace sortilo::xls
