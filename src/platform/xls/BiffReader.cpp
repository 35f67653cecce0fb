#include "platform/xls/BiffReader.h"

#include "platform/xls/BiffBook.h"
#include "platform/xls/NumberFormats.h"

namespace sortilo::xls {

namespace {

// Reads the cell records of one worksheet substream.
class SheetReader {
public:
    SheetReader(const Globals& g, const RecordStream& s, CellStore& cells)
        : g_(g), s_(s), cells_(cells), cp_(g.codePage < 0 ? 936 : g.codePage) {
        for (uint16_t fmt : g.xfFormats) {
            const auto it = g.formats.find(fmt);
            const bool stored = it != g.formats.end();
            xfIsDate_.push_back(isDateFormat(fmt, stored ? it->second : QString(), stored));
        }
    }

    void read(const Section& sheet);

private:
    bool isDate(uint16_t xf) const { return xf < xfIsDate_.size() && xfIsDate_[xf]; }
    void number(uint32_t row, uint32_t col, uint16_t xf, double v) {
        if (g_.date1904 && isDate(xf)) {
            v += 1462;  // the 1904 system's day 0 is the 1900 system's day 1462
        }
        cells_.setNumber(row, col, v, isDate(xf));
    }
    void record(int i);
    void formulaString(int i);
    void cell(int i);
    void formula(Span body, uint32_t row, uint32_t col, uint16_t xf);
    void mulRk(Span body);
    bool text(int i, size_t from, QString& out) const;

    const Globals& g_;
    const RecordStream& s_;
    CellStore& cells_;
    CodePage cp_;
    std::vector<bool> xfIsDate_;
    bool pendingString_ = false;  // a text formula result waits for its STRING record
    uint32_t pendingRow_ = 0;
    uint32_t pendingCol_ = 0;
};

// The string of a LABEL, RSTRING or STRING record from `from` on, with its CONTINUE records.
bool SheetReader::text(int i, size_t from, QString& out) const {
    if (g_.biff >= 8) {
        return readText(s_.continued(i, from), true, out);
    }
    size_t pos = from;
    return readBiff5String(s_.span(i), pos, true, cp_, out);
}

void SheetReader::formula(Span body, uint32_t row, uint32_t col, uint16_t xf) {
    if (body.size < 14) {
        return;
    }
    const uint8_t* res = body.data + 6;
    if (le16(res + 6) != 0xFFFF) {
        number(row, col, xf, leDouble(res));
        return;
    }
    switch (res[0]) {
        case 0:  // text, in the STRING record that follows
            cells_.setText(row, col, QString());
            pendingString_ = true;
            pendingRow_ = row;
            pendingCol_ = col;
            break;
        case 1:
            cells_.setBool(row, col, res[2] != 0);
            break;
        case 2:
            cells_.setError(row, col, res[2]);
            break;
        case 3:
            cells_.setText(row, col, QString());
            break;
        default:
            break;
    }
}

void SheetReader::mulRk(Span body) {
    if (body.size < 6) {
        return;
    }
    const uint32_t row = le16(body.data) + 1u;
    const uint32_t first = le16(body.data + 2) + 1u;
    const size_t n = (body.size - 6) / 6;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = body.data + 4 + 6 * i;
        number(row, first + uint32_t(i), le16(p), rkValue(le32(p + 2)));
    }
}

void SheetReader::formulaString(int i) {
    QString text;
    if (pendingString_ && this->text(i, 0, text)) {
        cells_.setText(pendingRow_, pendingCol_, text);
    }
    pendingString_ = false;
}

void SheetReader::record(int i) {
    const uint16_t type = s_.records[size_t(i)].type;
    if (type == rec::String) {
        formulaString(i);
    } else if (type == rec::MulRk) {
        pendingString_ = false;
        mulRk(s_.span(i));
    } else if (isCellRecord(type)) {
        cell(i);
    }
    // Other records, SHRFMLA, ARRAY, TABLE and CONTINUE among them, may stand between a
    // FORMULA and its STRING.
}

void SheetReader::cell(int i) {
    const Span body = s_.span(i);
    const uint16_t type = s_.records[size_t(i)].type;
    if (body.size < 6) {
        return;
    }
    pendingString_ = false;
    const uint32_t row = le16(body.data) + 1u;
    const uint32_t col = le16(body.data + 2) + 1u;
    const uint16_t xf = le16(body.data + 4);
    const size_t n = body.size;
    QString s;
    switch (type) {
        case rec::Number:
            if (n >= 14) {
                number(row, col, xf, leDouble(body.data + 6));
            }
            break;
        case rec::Rk:
            if (n >= 10) {
                number(row, col, xf, rkValue(le32(body.data + 6)));
            }
            break;
        case rec::LabelSst:
            if (n >= 10) {
                cells_.setSharedText(row, col, le32(body.data + 6));
            }
            break;
        case rec::Label:
        case rec::RString:
            if (text(i, 6, s)) {
                cells_.setText(row, col, std::move(s));
            }
            break;
        case rec::BoolErr:
            if (n >= 8) {
                body.data[7] ? cells_.setError(row, col, body.data[6])
                             : cells_.setBool(row, col, body.data[6] != 0);
            }
            break;
        case rec::Formula:
            formula(body, row, col, xf);
            break;
        case rec::Blank:
            cells_.setBlank(row, col);
            break;
        default:  // MULBLANK: formatted empty cells, nothing to keep
            break;
    }
}

void SheetReader::read(const Section& sheet) {
    // A cell record takes at least 10 bytes; the sheet cannot hold more cells than that.
    cells_.reserve(std::min<size_t>((sheet.stop - sheet.begin) / 14, 1u << 20));
    int depth = 0;
    for (int i = sheet.first; i < sheet.end; ++i) {
        const uint16_t type = s_.records[size_t(i)].type;
        if (type == rec::Bof) {
            ++depth;  // an embedded chart nests a whole substream
        } else if (type == rec::Eof) {
            --depth;
        } else if (depth == 1) {
            record(i);
        }
    }
}

}  // namespace

Result<void> readBiffWorkbook(const QByteArray& file, Workbook::Parts& out,
                              const QString& password) {
    Result<BiffBook> book = readBiffBook(file, &password);
    if (!book) {
        return book.error();
    }
    const Globals& g = book->globals;
    out.format = g.biff >= 8 ? WorkbookFormat::Biff8 : WorkbookFormat::Biff5;
    out.sheets = g.directory.sheets;
    out.active = book->placement.active;
    if (out.active < 0) {
        return fault(ErrorKind::NoSheet, QStringLiteral("the workbook lists no sheets"));
    }
    const SheetInfo& active = out.sheets[size_t(out.active)];
    if (active.type == SheetInfo::Type::Chart || active.type == SheetInfo::Type::VbModule) {
        return fault(ErrorKind::NoSheet, active.name);
    }
    const int section = book->placement.sections[size_t(out.active)];
    if (section < 0) {
        return fault(ErrorKind::Corrupt, QStringLiteral("the active sheet's records are missing"));
    }
    if (book->stream.overrun == section) {
        return fault(ErrorKind::Corrupt,
                     QStringLiteral("a record of the sheet runs past the end of the stream"));
    }
    out.cells.setSharedStrings(std::move(book->globals.sst));
    // A sheet that ends without its EOF keeps what was read.
    SheetReader(g, book->stream, out.cells).read(book->stream.sections[size_t(section)]);
    return {};
}

}  // namespace sortilo::xls
