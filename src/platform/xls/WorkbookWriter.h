#pragma once

#include "platform/SpreadsheetService.h"
#include "platform/xls/LegacyCrypto.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

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
    // Encrypts the workbook stream (BIFF5 knows only XOR); for tests of the reader.
    std::optional<CipherKind> encryption;
    QString password = DefaultPassword;
};

// A new, minimal, valid .xls file (a compound file with one workbook stream) holding the
// given sheets and cells, with the chosen sheet active.
QByteArray workbookFileBytes(const NewWorkbook& book, const WriteOptions& options = {});

// A compound file holding `stream` as its only stream, named `streamName` ("Workbook" for
// BIFF8, "Book" for BIFF5). The container is libgsf's.
QByteArray compoundFileBytes(const QByteArray& stream, const char* streamName);

// Writes workbookFileBytes() to `path` (through a temporary file, so a failure leaves any
// existing file as it was).
SheetError createWorkbook(const QString& path, const NewWorkbook& book,
                          const WriteOptions& options = {});

}  // namespace sortilo::xls
