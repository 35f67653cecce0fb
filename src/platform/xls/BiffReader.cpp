#include "platform/xls/BiffReader.h"

#include "platform/xls/BiffGlobals.h"
#include "platform/xls/NumberFormats.h"

namespace sortilo::xls {

namespace {

constexpr uint16_t ShrFmla = 0x04BC;
constexpr uint16_t Array = 0x0221;
constexpr uint16_t Table = 0x0236;
constexpr uint16_t Blank = 0x0201;
constexpr uint16_t MulBlank = 0x00BE;

SheetError corrupt(const char* what) {
    return {SheetProblem::Corrupt, QString::fromLatin1(what)};
}

double rkValue(uint32_t rk) {
    double v;
    if (rk & 0x02) {
        v = double(int32_t(rk) >> 2);
    } else {
        const uint64_t bits = uint64_t(rk & 0xFFFFFFFCu) << 32;
        std::memcpy(&v, &bits, sizeof v);
    }
    return (rk & 0x01) ? v / 100 : v;
}

// Reads the cell records of one worksheet substream.
class SheetReader {
public:
    SheetReader(const BiffGlobals& g, CellStore& cells)
        : g_(g), cells_(cells), cp_(g.codePage < 0 ? 936 : g.codePage) {
        for (uint16_t fmt : g.xfFormats) {
            const auto it = g.formats.find(fmt);
            const bool stored = it != g.formats.end();
            xfIsDate_.push_back(isDateFormat(fmt, stored ? it->second : QString(), stored));
        }
    }

    SheetError read(const QByteArray& stream, size_t offset);

private:
    bool isDate(uint16_t xf) const { return xf < xfIsDate_.size() && xfIsDate_[xf]; }
    void number(uint32_t row, uint32_t col, uint16_t xf, double v) {
        if (g_.date1904 && isDate(xf)) {
            v += 1462;  // the 1904 system's day 0 is the 1900 system's day 1462
        }
        cells_.setNumber(row, col, v, isDate(xf));
    }
    void record(const Record& r, RecordReader& reader);
    void formulaString(const Record& r, RecordReader& reader);
    void cell(const Record& r, RecordReader& reader);
    void formula(const Record& r, uint32_t row, uint32_t col, uint16_t xf);
    void mulRk(const Record& r);
    QString label(const Record& r, RecordReader& reader, bool& ok);

    const BiffGlobals& g_;
    CellStore& cells_;
    CodePage cp_;
    std::vector<bool> xfIsDate_;
    bool pendingString_ = false;  // a text formula result waits for its STRING record
    uint32_t pendingRow_ = 0;
    uint32_t pendingCol_ = 0;
};

QString SheetReader::label(const Record& r, RecordReader& reader, bool& ok) {
    QString s;
    if (g_.biff >= 8) {
        std::vector<Span> parts{Span{r.body.data + 6, r.body.size - 6}};
        reader.takeContinues(parts);
        Fragments f(std::move(parts));
        ok = f.readUnicodeString(s, true);
    } else {
        size_t pos = 6;
        ok = readBiff5String(r.body, pos, true, cp_, s);
    }
    return s;
}

void SheetReader::formula(const Record& r, uint32_t row, uint32_t col, uint16_t xf) {
    if (r.body.size < 14) {
        return;
    }
    const uint8_t* res = r.body.data + 6;
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

void SheetReader::mulRk(const Record& r) {
    if (r.body.size < 6) {
        return;
    }
    const uint32_t row = le16(r.body.data) + 1u;
    const uint32_t first = le16(r.body.data + 2) + 1u;
    const size_t n = (r.body.size - 6) / 6;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = r.body.data + 4 + 6 * i;
        number(row, first + uint32_t(i), le16(p), rkValue(le32(p + 2)));
    }
}

void SheetReader::formulaString(const Record& r, RecordReader& reader) {
    if (pendingString_) {
        QString s;
        bool ok = false;
        if (g_.biff >= 8) {
            std::vector<Span> parts{r.body};
            reader.takeContinues(parts);
            Fragments f(std::move(parts));
            ok = f.readUnicodeString(s, true);
        } else {
            size_t pos = 0;
            ok = readBiff5String(r.body, pos, true, cp_, s);
        }
        if (ok) {
            cells_.setText(pendingRow_, pendingCol_, s);
        }
    }
    pendingString_ = false;
}

void SheetReader::record(const Record& r, RecordReader& reader) {
    if (r.type == rec::String) {
        formulaString(r, reader);
        return;
    }
    if (r.type == ShrFmla || r.type == Array || r.type == Table || r.type == rec::Continue) {
        return;  // may stand between a FORMULA and its STRING
    }
    if (r.type == rec::MulRk) {
        pendingString_ = false;
        mulRk(r);
        return;
    }
    cell(r, reader);
}

void SheetReader::cell(const Record& r, RecordReader& reader) {
    const bool isCell = r.type == rec::Number || r.type == rec::Rk || r.type == rec::LabelSst ||
                        r.type == rec::Label || r.type == rec::RString || r.type == rec::BoolErr ||
                        r.type == rec::Formula || r.type == Blank || r.type == MulBlank;
    if (!isCell || r.body.size < 6) {
        return;
    }
    pendingString_ = false;
    const uint32_t row = le16(r.body.data) + 1u;
    const uint32_t col = le16(r.body.data + 2) + 1u;
    const uint16_t xf = le16(r.body.data + 4);
    const size_t n = r.body.size;
    bool ok = true;
    switch (r.type) {
        case rec::Number:
            if (n >= 14) {
                number(row, col, xf, leDouble(r.body.data + 6));
            }
            break;
        case rec::Rk:
            if (n >= 10) {
                number(row, col, xf, rkValue(le32(r.body.data + 6)));
            }
            break;
        case rec::LabelSst:
            if (n >= 10) {
                cells_.setSharedText(row, col, le32(r.body.data + 6));
            }
            break;
        case rec::Label:
        case rec::RString: {
            QString s = label(r, reader, ok);
            if (ok) {
                cells_.setText(row, col, std::move(s));
            }
            break;
        }
        case rec::BoolErr:
            if (n >= 8) {
                r.body.data[7] ? cells_.setError(row, col, r.body.data[6])
                               : cells_.setBool(row, col, r.body.data[6] != 0);
            }
            break;
        case rec::Formula:
            formula(r, row, col, xf);
            break;
        case Blank:
            cells_.setBlank(row, col);
            break;
        default:  // MULBLANK: formatted empty cells, nothing to keep
            break;
    }
}

SheetError SheetReader::read(const QByteArray& stream, size_t offset) {
    const auto* base = reinterpret_cast<const uint8_t*>(stream.constData());
    RecordReader reader(base, size_t(stream.size()), offset);
    // A cell record takes at least 10 bytes; the sheet cannot hold more cells than that.
    cells_.reserve(std::min<size_t>((size_t(stream.size()) - offset) / 14, 1u << 20));
    Record r;
    int depth = 0;
    while (reader.next(r)) {
        if (r.type == rec::Bof) {
            ++depth;  // an embedded chart nests a whole substream
            continue;
        }
        if (r.type == rec::Eof) {
            if (--depth <= 0) {
                return {};
            }
            continue;
        }
        if (depth == 1) {
            record(r, reader);
        }
    }
    if (reader.overrun()) {
        return corrupt("a record of the sheet runs past the end of the workbook stream");
    }
    return {};  // a stream that ends without the sheet's EOF: keep what was read
}

}  // namespace

SheetError readBiffWorkbook(QByteArray& stream, Workbook::Parts& out, const QString& password) {
    BiffGlobals g;
    if (SheetError e = readBiffGlobals(stream, g, password)) {
        return e;
    }
    out.format = g.biff >= 8 ? WorkbookFormat::Biff8 : WorkbookFormat::Biff5;
    const SheetPlacement placement = placeSheets(findSubstreams(stream, g.end), g.directory);
    out.sheets = g.directory.sheets;
    out.active = placement.active;
    if (out.active < 0) {
        return {SheetProblem::NoSheet, QStringLiteral("the workbook lists no sheets")};
    }
    const SheetInfo& active = out.sheets[size_t(out.active)];
    if (active.type == SheetInfo::Type::Chart || active.type == SheetInfo::Type::VbModule) {
        return {SheetProblem::NoSheet, active.name};
    }
    const size_t offset = placement.starts[size_t(out.active)];
    if (offset == SheetPlacement::NotFound) {
        return corrupt("the active sheet's records are missing");
    }
    out.cells.setSharedStrings(std::move(g.sharedStrings));
    SheetReader reader(g, out.cells);
    return reader.read(stream, offset);
}

}  // namespace sortilo::xls
