#pragma once

#include "base/Result.h"

#include <QByteArray>
#include <QString>

#include <variant>
#include <vector>

// New, minimal, valid workbooks: the sample files of a new application folder, and workbooks
// made for tests. The program itself never creates a workbook.
namespace sortilo::xls {

struct NewCell {
    int row = 1;     // from 1
    int column = 1;  // from 1
    std::variant<QString, double> value;
};

struct NewSheet {
    QString name;
    std::vector<NewCell> cells;
};

struct NewWorkbook {
    std::vector<NewSheet> sheets;
    int activeSheet = 0;  // index into sheets: the sheet that opens
};

struct WriteOptions {
    int biffVersion = 8;  // 8, or 5 for an Excel 5/95 workbook with 8-bit strings
    int codePage = 936;   // BIFF5 only: the code page of its strings
};

// The BIFF record stream of a new workbook (what the compound file's Workbook/Book holds).
QByteArray biffStream(const NewWorkbook& book, const WriteOptions& options = {});

// A compound file holding `stream` as its only stream, named `streamName` ("Workbook" for
// BIFF8, "Book" for BIFF5).
QByteArray compoundFileBytes(const QByteArray& stream, const QString& streamName);

// A new .xls file holding the given sheets and cells, with the chosen sheet active.
QByteArray workbookFileBytes(const NewWorkbook& book, const WriteOptions& options = {});

// Writes workbookFileBytes() to `path` (through a temporary file, so a failure leaves any
// existing file as it was).
Result<void> createWorkbook(const QString& path, const NewWorkbook& book,
                            const WriteOptions& options = {});

}  // namespace sortilo::xls
