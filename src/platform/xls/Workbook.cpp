#include "platform/xls/Workbook.h"

#include "platform/xls/BiffReader.h"
#include "platform/xls/Container.h"
#include "platform/xls/CsvReader.h"
#include "platform/xls/HtmlReader.h"
#include "platform/xls/XlsxReader.h"
#include "platform/xls/Xml2003Reader.h"

namespace sortilo::xls {

Workbook::Workbook(Parts parts)
    : format_(parts.format),
      sheets_(std::move(parts.sheets)),
      active_(parts.active),
      cells_(std::move(parts.cells)) {}

QString Workbook::formatName() const {
    static const char* const names[] = {"biff8", "biff5", "xlsx", "html", "xml2003", "csv"};
    return QString::fromLatin1(names[int(format_)]);
}

CellValue Workbook::cell(int row, int column) const {
    if (row < 1 || column < 1) {
        return {};
    }
    return cells_.at(uint32_t(row), uint32_t(column));
}

Result<Workbook> Workbook::open(const QString& path) {
    Result<QByteArray> bytes = readFileBytes(path);
    if (!bytes) {
        return bytes.error();
    }
    return fromBytes(*bytes).in(path);
}

Error otherContent(const QByteArray& bytes, FileKind kind) {
    if (kind == FileKind::RawBiff) {
        // Excel 2.x-4.x saved worksheets as a bare record stream.
        const bool biff8 = bytes.size() >= 2 && uint8_t(bytes[1]) == 0x08;
        return fileFault(ErrorKind::UnsupportedFormat,
                         biff8 ? FileKind::BareBiff : FileKind::OldBiff);
    }
    return fileFault(ErrorKind::NotAWorkbook, kind);
}

// Each kind of content goes to its reader; a kind without one is named in the refusal.
Result<Workbook> Workbook::fromBytes(const QByteArray& bytes) {
    Parts parts;
    const FileKind kind = sniffContent(bytes);
    Result<void> read = otherContent(bytes, kind);
    switch (kind) {
        case FileKind::Cfb:
            read = readBiffWorkbook(bytes, parts);
            break;
        case FileKind::Zip:
            read = readXlsxWorkbook(bytes, parts);
            break;
        case FileKind::Html:
            read = readHtmlWorkbook(bytes, parts);
            break;
        case FileKind::Xml2003:
            read = readXml2003Workbook(bytes, parts);
            break;
        case FileKind::Text:
        case FileKind::UnicodeText:
            read = readCsvWorkbook(bytes, parts);
            break;
        default:
            break;
    }
    if (!read) {
        return read.error();
    }
    parts.cells.finish();
    return Workbook(std::move(parts));
}

}  // namespace sortilo::xls
