#include "platform/xls/Xml2003Reader.h"

#include "platform/xls/Charset.h"
#include "platform/xls/XmlReader.h"

#include <QDateTime>

namespace sortilo::xls {

namespace {

// A position from an ss:Index attribute, or `next` when it has none or a useless one.
uint32_t indexOr(const XmlReader& x, uint32_t next, uint32_t most) {
    bool ok = false;
    const uint32_t index = x.attribute("Index").toUInt(&ok);
    return ok && index >= 1 && index <= most ? index : next;
}

void putValue(CellStore& cells, uint32_t row, uint32_t col, const QString& type, QString text) {
    bool ok = false;
    if (type == QLatin1String("Number")) {
        if (const double v = text.trimmed().toDouble(&ok); ok) {
            return cells.setNumber(row, col, v, false);
        }
    } else if (type == QLatin1String("DateTime")) {
        if (QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs).isValid()) {
            return cells.setNumber(row, col, isoSerial(text.trimmed()), true);
        }
    } else if (type == QLatin1String("Boolean")) {
        return cells.setBool(row, col, xmlTrue(text.trimmed().toLower()));
    } else if (type == QLatin1String("Error")) {
        return cells.setError(row, col, errorCodeOf(text));
    }
    cells.setText(row, col, std::move(text));  // String, and values that do not parse
}

}  // namespace

Result<void> readXml2003Workbook(const QByteArray& file, Workbook::Parts& out) {
    // Decoded here, so an encoding="GB2312" declaration reads as GBK, as its writers meant.
    const QByteArray utf8 = decodeText(file, declaredCharset(file, "encoding=")).toUtf8();
    XmlReader x(utf8, true);        // reads from `utf8`, which outlives it
    std::vector<CellStore> sheets;  // every sheet's cells: the active one may be named last
    long active = -1;
    uint32_t row = 0;
    uint32_t col = 0;
    uint32_t next = 1;
    int cellDepth = -1;
    while (x.nextElement()) {
        const QByteArray name = x.name();
        if (name == "Worksheet") {
            out.sheets.push_back(SheetInfo{x.attribute("Name")});
            sheets.emplace_back();
            row = 0;
        } else if (name == "ActiveSheet") {
            bool ok = false;
            active = x.text().trimmed().toLong(&ok);
            active = ok ? active : -1;
        } else if (sheets.empty()) {
            continue;
        } else if (name == "Row") {
            row = indexOr(x, row + 1, MaxRow);
            next = 1;
            cellDepth = -1;
        } else if (name == "Cell") {
            col = indexOr(x, next, MaxCol);
            cellDepth = x.depth();
            // A cell without an index comes after the ones merged with the cell before it.
            next = col + 1 + std::min(x.attribute("MergeAcross").toUInt(), MaxCol);
        } else if (name == "Data" && x.depth() == cellDepth + 1 && row >= 1 && row <= MaxRow &&
                   col <= MaxCol) {
            const QString type = x.attribute("Type");
            putValue(sheets.back(), row, col, type, x.text());
        }
    }
    if (x.failed()) {
        return fault(ErrorKind::Corrupt, QStringLiteral("the XML is not well-formed"));
    }
    out.format = WorkbookFormat::Xml2003;
    out.active = resolveActiveSheet(out.sheets, active);
    if (out.active < 0) {
        return fault(ErrorKind::NoSheet, QStringLiteral("the document holds no worksheet"));
    }
    out.cells = std::move(sheets[size_t(out.active)]);
    return {};
}

}  // namespace sortilo::xls
