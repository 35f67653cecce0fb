#include "platform/WorkbookService.h"

#include "platform/xls/CellText.h"
#include "platform/xls/Container.h"
#include "platform/xls/Workbook.h"

#include <QDir>
#include <QFileInfo>

namespace sortilo {

QStringList WorkbookService::lockFileNames(const QString& workbookName) {
    // LibreOffice/OpenOffice: ".~lock.NAME#". Excel and WPS: "~$NAME", with the name's first
    // two characters dropped when it is long.
    QStringList names{QStringLiteral(".~lock.") + workbookName + QLatin1Char('#'),
                      QStringLiteral("~$") + workbookName};
    if (workbookName.size() > 2) {
        names << QStringLiteral("~$") + workbookName.mid(2);
    }
    return names;
}

bool WorkbookService::heldElsewhere(const QString& path) const {
    const QFileInfo file(path);
    for (const QString& lock : lockFileNames(file.fileName())) {
        if (QFileInfo(file.dir().filePath(lock)).isFile()) {
            return true;
        }
    }
    return false;
}

Result<NameColumn> WorkbookService::readNames(const QString& path, int firstRow,
                                              int maxNames) const {
    const Result<xls::Workbook> book = xls::Workbook::open(path);
    if (!book) {
        return book.error();
    }
    NameColumn column;
    int row = firstRow;
    for (; !book->cell(row, 1).isEmpty(); ++row) {
        // Past the limit the names are only counted: they are not read, so not refused either.
        if (column.names.size() == maxNames) {
            ++column.overLimit;
            continue;
        }
        std::optional<QString> name = xls::valueAsText(book->cell(row, 1));
        if (!name) {
            Error e(ErrorKind::CellNotText, path);
            e.cell = xls::cellName(row, 1);
            return e;
        }
        column.names << *name;
    }
    const xls::CellStore& cells = book->cells();
    for (size_t i = 0; i < cells.size(); ++i) {
        if (cells.colAt(i) == 1 && qint64(cells.rowAt(i)) > row && !cells.valueAt(i).isEmpty()) {
            ++column.belowEmpty;
        }
    }
    column.emptyRow = column.belowEmpty > 0 ? row : 0;
    return column;
}

Result<xlsedit::EditableWorkbook> WorkbookService::edit(const QString& path) const {
    if (heldElsewhere(path)) {
        return Error(ErrorKind::OpenElsewhere, path);
    }
    return xlsedit::EditableWorkbook::open(path);
}

Result<void> WorkbookService::show(const QString& path) const {
    // Whatever else the reader here refuses, the desktop's spreadsheet program may still open
    // and mend (a workbook with a password asks for it there); a file that cannot be read at
    // all it cannot.
    if (const Result<QByteArray> bytes = xls::readFileBytes(path); !bytes) {
        return bytes.error();
    }
    if (!opener_.open(path)) {
        return Error(ErrorKind::NotShown, path);
    }
    return {};
}

}  // namespace sortilo
