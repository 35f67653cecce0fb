#include "platform/xls/Workbook.h"

#include "platform/xls/BiffReader.h"
#include "platform/xls/Container.h"
#include "platform/xls/XlsxReader.h"

namespace sortilo::xls {

Workbook::Workbook(Parts parts)
    : format_(parts.format),
      sheets_(std::move(parts.sheets)),
      active_(parts.active),
      cells_(std::move(parts.cells)) {}

QString Workbook::formatName() const {
    switch (format_) {
        case WorkbookFormat::Biff8:
            return QStringLiteral("biff8");
        case WorkbookFormat::Biff5:
            return QStringLiteral("biff5");
        case WorkbookFormat::Xlsx:
            return QStringLiteral("xlsx");
    }
    return {};
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
    Result<void> read = kind == FileKind::Cfb   ? readBiffWorkbook(bytes, parts)
                        : kind == FileKind::Zip ? readXlsxWorkbook(bytes, parts)
                                                : otherContent(bytes, kind);
    if (!read) {
        return read.error();
    }
    parts.cells.finish();
    return Workbook(std::move(parts));
}

}  // namespace sortilo::xls
