#include "platform/xls/Workbook.h"

#include "platform/Texts.h"
#include "platform/xls/BiffReader.h"
#include "platform/xls/Container.h"
#include "platform/xls/XlsxReader.h"

#include <QFile>
#include <QFileInfo>

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

int resolveActiveSheet(const std::vector<SheetInfo>& sheets, long recorded) {
    if (sheets.empty()) {
        return -1;
    }
    if (recorded >= 0 && size_t(recorded) < sheets.size()) {
        return int(recorded);
    }
    for (size_t i = 0; i < sheets.size(); ++i) {
        if (sheets[i].type == SheetInfo::Type::Worksheet && !sheets[i].hidden) {
            return int(i);
        }
    }
    return 0;
}

std::optional<Workbook> Workbook::open(const QString& path, SheetError& error) {
    const QFileInfo info(path);
    if (!info.exists()) {
        error = {SheetProblem::Missing, path};
        return std::nullopt;
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        error = {SheetProblem::Unreadable, file.errorString()};
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = {SheetProblem::Unreadable, file.errorString()};
        return std::nullopt;
    }
    return fromBytes(bytes, error);
}

namespace {

SheetError notAWorkbook(const QString& what) {
    return {SheetProblem::NotAWorkbook, what};
}

SheetError readByContent(const QByteArray& bytes, Workbook::Parts& parts) {
    switch (sniffContent(bytes)) {
        case ContentKind::Cfb: {
            CfbWorkbookStream stream;
            if (SheetError e = readCfbWorkbookStream(bytes, stream)) {
                return e;
            }
            return readBiffWorkbook(stream.stream, parts);
        }
        case ContentKind::Zip:
            return readXlsxWorkbook(bytes, parts);
        case ContentKind::RawBiff:
            // Excel 2.x-4.x saved worksheets as a bare record stream.
            if (bytes.size() >= 2 && uint8_t(bytes[1]) == 0x08) {
                return {SheetProblem::UnsupportedFormat, texts::FileKindBareBiff};
            }
            return {SheetProblem::UnsupportedFormat, texts::FileKindOldBiff};
        case ContentKind::Empty:
            return notAWorkbook(texts::FileKindEmpty);
        case ContentKind::Text:
            return notAWorkbook(texts::FileKindText);
        case ContentKind::UnicodeText:
            return notAWorkbook(texts::FileKindUnicodeText);
        case ContentKind::Html:
            return notAWorkbook(texts::FileKindHtml);
        case ContentKind::Xml2003:
            return notAWorkbook(texts::FileKindXml2003);
        case ContentKind::Xml:
            return notAWorkbook(texts::FileKindXml);
        case ContentKind::Other:
            break;
    }
    return notAWorkbook(texts::FileKindOther);
}

}  // namespace

std::optional<Workbook> Workbook::fromBytes(const QByteArray& bytes, SheetError& error) {
    Parts parts;
    error = readByContent(bytes, parts);
    if (error) {
        return std::nullopt;
    }
    parts.cells.finish();
    return Workbook(std::move(parts));
}

}  // namespace sortilo::xls
