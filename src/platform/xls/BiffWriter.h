#pragma once

#include "platform/xls/WorkbookWriter.h"

#include <QByteArray>

namespace sortilo::xls {

// The BIFF record stream of a new workbook (what the compound file's Workbook/Book holds).
QByteArray biffStream(const NewWorkbook& book, const WriteOptions& options);

// Appends one record; bodies longer than a record can hold go on in CONTINUE records.
void appendRecord(QByteArray& out, uint16_t type, const QByteArray& body);

}  // namespace sortilo::xls
