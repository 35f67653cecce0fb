#include "platform/xls/XlsxReader.h"

#include "platform/xls/Container.h"
#include "platform/xls/NumberFormats.h"
#include "platform/xls/XmlReader.h"

#include <QStringList>

#include <map>

namespace sortilo::xls {

namespace {

struct Relationship {
    QString target;  // package path
    QString type;    // the last segment of the relationship type
};

QString resolvePath(const QString& sourcePart, const QString& target) {
    QStringList parts;
    if (!target.startsWith(QLatin1Char('/'))) {
        parts = sourcePart.split(QLatin1Char('/'));
        parts.removeLast();
    }
    for (const QString& p : target.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (p == QLatin1String("..")) {
            if (!parts.isEmpty()) {
                parts.removeLast();
            }
        } else if (p != QLatin1String(".")) {
            parts.append(p);
        }
    }
    return parts.join(QLatin1Char('/'));
}

QString relsPathOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

std::map<QString, Relationship> readRelationships(const QByteArray& xml, const QString& source) {
    std::map<QString, Relationship> rels;
    XmlReader x(xml);
    while (x.nextElement()) {
        if (x.name() == "Relationship") {
            const QString type = x.attribute("Type");
            rels[x.attribute("Id")] =
                Relationship{resolvePath(source, x.attribute("Target")),
                             type.mid(type.lastIndexOf(QLatin1Char('/')) + 1)};
        }
    }
    return rels;
}

struct SheetEntry {
    SheetInfo info;
    QString relId;
};

struct BookXml {
    std::vector<SheetEntry> sheets;
    long activeTab = 0;
    bool date1904 = false;
};

BookXml readBookXml(const QByteArray& xml) {
    BookXml book;
    bool sawView = false;
    XmlReader x(xml);
    while (x.nextElement()) {
        const QByteArray n = x.name();
        if (n == "workbookPr") {
            book.date1904 = xmlTrue(x.attribute("date1904"));
        } else if (n == "workbookView" && !sawView) {
            sawView = true;
            bool ok = false;
            const long tab = x.attribute("activeTab").toLong(&ok);
            book.activeTab = ok ? tab : 0;
        } else if (n == "sheet") {
            SheetEntry e;
            e.info.name = x.attribute("name");
            e.info.hidden =
                !x.attribute("state").isEmpty() && x.attribute("state") != QLatin1String("visible");
            e.relId = x.attribute("id");
            book.sheets.push_back(e);
        }
    }
    return book;
}

std::vector<bool> readDateStyles(const QByteArray& xml) {
    std::map<int, QString> formats;
    std::vector<int> xfFormats;
    XmlReader x(xml);
    int cellXfsDepth = -1;
    while (x.nextElement()) {
        const QByteArray n = x.name();
        if (cellXfsDepth >= 0 && x.depth() <= cellXfsDepth) {
            cellXfsDepth = -1;
        }
        if (n == "numFmt") {
            formats[x.attribute("numFmtId").toInt()] = x.attribute("formatCode");
        } else if (n == "cellXfs") {
            cellXfsDepth = x.isEmptyElement() ? -1 : x.depth();
        } else if (n == "xf" && cellXfsDepth >= 0 && x.depth() == cellXfsDepth + 1) {
            xfFormats.push_back(x.attribute("numFmtId").toInt());
        }
    }
    std::vector<bool> isDate;
    for (int id : xfFormats) {
        const auto it = formats.find(id);
        const bool stored = it != formats.end();
        isDate.push_back(isDateFormat(id, stored ? it->second : QString(), stored));
    }
    return isDate;
}

// Text in OOXML escapes characters XML cannot carry as _xHHHH_.
QString unescapeOoxml(QString s) {
    qsizetype i = s.indexOf(QLatin1String("_x"));
    while (i >= 0 && i + 7 <= s.size()) {
        bool ok = false;
        const uint code = s.mid(i + 2, 4).toUInt(&ok, 16);
        if (ok && s[i + 6] == QLatin1Char('_')) {
            s.replace(i, 7, QChar(char16_t(code)));
        }
        i = s.indexOf(QLatin1String("_x"), i + 1);
    }
    return s;
}

std::vector<QString> readSharedStringsXml(const QByteArray& xml) {
    std::vector<QString> strings;
    XmlReader x(xml);
    while (x.nextElement()) {
        if (x.name() == "si") {
            strings.push_back(unescapeOoxml(x.text(true)));
        }
    }
    return strings;
}

// "AB12" -> row 12, column 28; false when it is no cell reference.
bool parseRef(const QString& ref, uint32_t& row, uint32_t& col) {
    uint64_t c = 0;
    uint64_t r = 0;
    qsizetype i = 0;
    for (; i < ref.size() && ref[i].isLetter() && ref[i].unicode() < 128 && c <= MaxCol; ++i) {
        c = c * 26 + uint64_t(ref[i].toUpper().unicode() - u'A' + 1);
    }
    const qsizetype letters = i;
    for (; i < ref.size() && ref[i].isDigit() && ref[i].unicode() < 128 && r <= MaxRow; ++i) {
        r = r * 10 + uint64_t(ref[i].unicode() - u'0');
    }
    if (letters == 0 || i != ref.size() || i == letters || c > MaxCol || r > MaxRow || r == 0) {
        return false;
    }
    row = uint32_t(r);
    col = uint32_t(c);
    return true;
}

class SheetXmlReader {
public:
    SheetXmlReader(const std::vector<bool>& dateStyles, bool date1904, CellStore& cells)
        : dateStyles_(dateStyles), date1904_(date1904), cells_(cells) {}

    void read(const QByteArray& xml) {
        XmlReader x(xml);
        while (x.nextElement()) {
            const QByteArray n = x.name();
            if (open_ && x.depth() <= cellDepth_) {
                commit();
            }
            if (n == "row") {
                bool ok = false;
                const uint32_t r = x.attribute("r").toUInt(&ok);
                row_ = ok && r >= 1 && r <= MaxRow ? r : row_ + 1;
                col_ = 0;
            } else if (n == "c") {
                startCell(x);
            } else if (open_ && n == "v" && x.depth() == cellDepth_ + 1) {
                value_ = x.text();
                hasValue_ = true;
            } else if (open_ && n == "is" && x.depth() == cellDepth_ + 1) {
                value_ = unescapeOoxml(x.text(true));
                hasValue_ = true;
            }
        }
        if (open_) {
            commit();
        }
    }

private:
    void startCell(XmlReader& x) {
        uint32_t r = row_;
        uint32_t c = col_ + 1;
        const QString ref = x.attribute("r");
        if (!ref.isEmpty() && !parseRef(ref, r, c)) {
            r = row_;
            c = col_ + 1;
        }
        row_ = r == 0 ? 1 : r;
        col_ = c;
        type_ = x.attribute("t");
        style_ = x.attribute("s").toUInt();
        value_.clear();
        hasValue_ = false;
        open_ = true;
        cellDepth_ = x.depth();
        if (x.isEmptyElement()) {
            commit();
        }
    }

    void commit() {
        open_ = false;
        if (!hasValue_ || col_ == 0 || col_ > MaxCol) {
            return;
        }
        const bool isDate = style_ < dateStyles_.size() && dateStyles_[style_];
        if (type_ == QLatin1String("s")) {
            bool ok = false;
            const uint32_t index = value_.trimmed().toUInt(&ok);
            ok ? cells_.setSharedText(row_, col_, index) : cells_.setBlank(row_, col_);
        } else if (type_ == QLatin1String("str") || type_ == QLatin1String("inlineStr")) {
            cells_.setText(row_, col_, unescapeOoxml(value_));
        } else if (type_ == QLatin1String("b")) {
            cells_.setBool(row_, col_, xmlTrue(value_.trimmed()));
        } else if (type_ == QLatin1String("e")) {
            cells_.setError(row_, col_, errorCodeOf(value_));
        } else if (type_ == QLatin1String("d")) {
            cells_.setNumber(row_, col_, isoSerial(value_.trimmed()), true);
        } else {
            bool ok = false;
            double v = value_.trimmed().toDouble(&ok);
            if (!ok) {
                return;
            }
            if (date1904_ && isDate) {
                v += 1462;
            }
            cells_.setNumber(row_, col_, v, isDate);
        }
    }

    const std::vector<bool>& dateStyles_;
    bool date1904_;
    CellStore& cells_;
    uint32_t row_ = 0;
    uint32_t col_ = 0;
    bool open_ = false;
    int cellDepth_ = 0;
    QString type_;
    uint32_t style_ = 0;
    QString value_;
    bool hasValue_ = false;
};

SheetInfo::Type typeOf(const QString& relType) {
    if (relType == QLatin1String("worksheet")) {
        return SheetInfo::Type::Worksheet;
    }
    if (relType == QLatin1String("chartsheet")) {
        return SheetInfo::Type::Chart;
    }
    if (relType == QLatin1String("macrosheet")) {
        return SheetInfo::Type::MacroSheet;
    }
    return SheetInfo::Type::Other;
}

Error notXlsx(const ZipPackage& zip) {
    const Result<QByteArray> mime = zip.read(QStringLiteral("mimetype"));
    if (mime && mime->contains("opendocument.spreadsheet")) {
        return fileFault(ErrorKind::NotAWorkbook, FileKind::Ods);
    }
    if (zip.has(QStringLiteral("word/document.xml")) ||
        zip.has(QStringLiteral("ppt/presentation.xml"))) {
        return fileFault(ErrorKind::NotAWorkbook, FileKind::OtherOffice);
    }
    return fileFault(ErrorKind::NotAWorkbook, FileKind::Zip);
}

// The workbook part's path, from the package relationships.
QString bookPathOf(const ZipPackage& zip) {
    QString bookPath = QStringLiteral("xl/workbook.xml");
    if (const Result<QByteArray> xml = zip.read(QStringLiteral("_rels/.rels"))) {
        for (const auto& [id, rel] : readRelationships(*xml, QString())) {
            if (rel.type == QLatin1String("officeDocument")) {
                bookPath = rel.target;
            }
        }
    }
    return bookPath;
}

QString targetOfType(const std::map<QString, Relationship>& rels, const char* type) {
    for (const auto& [id, rel] : rels) {
        if (rel.type == QLatin1String(type)) {
            return rel.target;
        }
    }
    return {};
}

// An optional part: empty when the package has none, an error when it cannot be unpacked.
Result<QByteArray> optionalPart(const ZipPackage& zip, const QString& path) {
    return zip.has(path) ? zip.read(path) : Result<QByteArray>(QByteArray());
}

}  // namespace

Result<void> readXlsxWorkbook(const QByteArray& file, Workbook::Parts& out) {
    ZipPackage zip;
    if (Result<void> opened = zip.open(file); !opened) {
        return opened;
    }
    const QString bookPath = bookPathOf(zip);
    if (bookPath.endsWith(QLatin1String(".bin"))) {
        return fileFault(ErrorKind::UnsupportedFormat, FileKind::Xlsb);
    }
    if (!zip.has(bookPath)) {
        return notXlsx(zip);
    }
    const Result<QByteArray> bookXml = zip.read(bookPath);
    const Result<QByteArray> relsXml = optionalPart(zip, relsPathOf(bookPath));
    if (!bookXml || !relsXml) {
        return bookXml ? relsXml.error() : bookXml.error();
    }
    const BookXml book = readBookXml(*bookXml);
    const std::map<QString, Relationship> rels = readRelationships(*relsXml, bookPath);
    out.format = WorkbookFormat::Xlsx;
    for (const SheetEntry& s : book.sheets) {
        out.sheets.push_back(s.info);
        const auto it = rels.find(s.relId);
        out.sheets.back().type =
            it == rels.end() ? SheetInfo::Type::Other : typeOf(it->second.type);
    }
    out.active = resolveActiveSheet(out.sheets, book.activeTab);
    if (out.active < 0) {
        return fault(ErrorKind::NoSheet, QStringLiteral("the workbook lists no sheets"));
    }
    const SheetInfo& active = out.sheets[size_t(out.active)];
    if (active.type != SheetInfo::Type::Worksheet && active.type != SheetInfo::Type::MacroSheet) {
        return fault(ErrorKind::NoSheet, active.name);
    }
    const Result<QByteArray> styles = optionalPart(zip, targetOfType(rels, "styles"));
    const Result<QByteArray> strings = optionalPart(zip, targetOfType(rels, "sharedStrings"));
    const QString sheetPath = rels.at(book.sheets[size_t(out.active)].relId).target;
    const Result<QByteArray> sheet =
        zip.has(sheetPath)
            ? zip.read(sheetPath)
            : fault(ErrorKind::Corrupt, QStringLiteral("the active sheet's part is missing"));
    for (const Result<QByteArray>* part : {&styles, &strings, &sheet}) {
        if (!*part) {
            return part->error();
        }
    }
    SharedStrings shared;
    for (const QString& s : readSharedStringsXml(*strings)) {
        shared.strings().push_back(shared.append(s));
    }
    out.cells.setSharedStrings(std::move(shared));
    SheetXmlReader(readDateStyles(*styles), book.date1904, out.cells).read(*sheet);
    return {};
}

}  // namespace sortilo::xls
