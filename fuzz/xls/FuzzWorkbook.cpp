#include "FuzzWorkbook.h"

#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"

using namespace sortilo;
using namespace sortilo::xls;

int fuzzWorkbook(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const Result<Workbook> book = Workbook::fromBytes(bytes);
    if (!book) {
        const Error& e = book.error();  // a refusal must say why
        return e.detail.isEmpty() && e.content == FileKind::Unknown ? 1 : 0;
    }
    size_t length = size_t(book->activeSheetName().size());
    const CellStore& cells = book->cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        const CellValue v = cells.valueAt(i);
        length += size_t(valueAsText(v).value_or(QString()).size());
        length += size_t(cellName(int(cells.rowAt(i)), int(cells.colAt(i))).size());
    }
    for (int row = 1; row <= 40; ++row) {
        length += size_t(book->cell(row, 1).text.size());
    }
    return length == size_t(-1) ? 1 : 0;
}
