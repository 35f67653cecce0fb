#include "WorkbookWriter.h"

#include "platform/xls/Biff.h"

#include <iconv.h>

#include <algorithm>
#include <map>

namespace sortilo::xls {

void appendLongRecord(QByteArray& out, uint16_t type, const QByteArray& body);

namespace {

constexpr int MaxBody8 = MaxRecordBody;
constexpr uint16_t CellXf = 15;  // the default cell format: the 16th XF

// Little-endian fields appended to a record body.
struct Body {
    QByteArray b;
    Body& u8(unsigned v) {
        b.append(char(v & 0xFF));
        return *this;
    }
    Body& u16(unsigned v) { return u8(v).u8(v >> 8); }
    Body& u32(uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
    Body& f64(double v) {
        uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return u32(uint32_t(bits)).u32(uint32_t(bits >> 32));
    }
    Body& raw(const QByteArray& bytes) {
        b.append(bytes);
        return *this;
    }
};

// A character of a BIFF5 string in the workbook's code page; '?' where the code page lacks it.
QByteArray encode(const CodePage& cp, QChar c) {
    iconv_t cd = iconv_open(cp.iconvName().constData(), "UTF-16LE");
    if (cd == iconv_t(-1)) {
        return QByteArray(1, c.unicode() < 0x100 ? char(c.unicode()) : '?');
    }
    char16_t unit = c.unicode();
    char buf[8];
    char* in = reinterpret_cast<char*>(&unit);
    size_t inLeft = 2;
    char* outp = buf;
    size_t outLeft = sizeof buf;
    const bool ok = iconv(cd, &in, &inLeft, &outp, &outLeft) != size_t(-1);
    iconv_close(cd);
    return ok ? QByteArray(buf, qsizetype(sizeof buf - outLeft)) : QByteArray("?");
}

bool needsWide(const QString& s) {
    return std::any_of(s.begin(), s.end(), [](QChar c) { return c.unicode() > 0xFF; });
}

QByteArray chars8(const QString& s, bool wide) {
    Body out;
    for (QChar c : s) {
        wide ? out.u16(c.unicode()) : out.u8(c.unicode());
    }
    return out.b;
}

// BIFF8 (Short)XLUnicodeString: count, width flag, characters.
QByteArray string8(const QString& s, bool longCount) {
    const bool wide = needsWide(s);
    Body out;
    longCount ? out.u16(unsigned(s.size())) : out.u8(unsigned(s.size()));
    return out.u8(wide ? 1 : 0).raw(chars8(s, wide)).b;
}

struct Cell {
    uint16_t row;
    uint16_t col;
    const NewCell* source;
};

struct SheetCells {
    std::vector<Cell> cells;  // ordered, one per cell
};

SheetCells orderedCells(const NewSheet& sheet) {
    SheetCells out;
    for (const NewCell& c : sheet.cells) {
        if (c.row >= 1 && c.row <= 65536 && c.column >= 1 && c.column <= 256) {
            out.cells.push_back(Cell{uint16_t(c.row - 1), uint16_t(c.column - 1), &c});
        }
    }
    auto key = [](const Cell& c) { return (uint32_t(c.row) << 16) | c.col; };
    std::stable_sort(out.cells.begin(), out.cells.end(),
                     [&](const Cell& a, const Cell& b) { return key(a) < key(b); });
    std::vector<Cell> kept;
    for (size_t i = 0; i < out.cells.size(); ++i) {
        if (i + 1 == out.cells.size() || key(out.cells[i + 1]) != key(out.cells[i])) {
            kept.push_back(out.cells[i]);  // the last given value of a cell wins
        }
    }
    out.cells = std::move(kept);
    return out;
}

class Builder {
public:
    Builder(const NewWorkbook& book, const WriteOptions& options)
        : book_(book), opt_(options), biff8_(options.biffVersion >= 8), cp_(options.codePage) {}

    QByteArray build();

private:
    void rec(uint16_t type, const QByteArray& body) { appendLongRecord(out_, type, body); }
    QByteArray string5(const QString& s, bool longCount, int max) const {
        QByteArray bytes;
        for (QChar c : s) {  // whole characters only: a DBCS character is never cut
            const QByteArray one = encode(cp_, c);
            if (bytes.size() + one.size() > max) {
                break;
            }
            bytes += one;
        }
        Body out;
        longCount ? out.u16(unsigned(bytes.size())) : out.u8(unsigned(bytes.size()));
        return out.raw(bytes).b;
    }
    QByteArray name(const QString& s) const {
        return biff8_ ? string8(s, false) : string5(s, false, 255);
    }
    void globals();
    void formatting();
    void sharedStrings();
    void sheet(size_t index);
    void rowBlock(const std::vector<Cell>& cells, size_t from, size_t to);

    const NewWorkbook& book_;
    const WriteOptions& opt_;
    bool biff8_;
    CodePage cp_;
    QByteArray out_;
    std::vector<SheetCells> sheets_;
    std::vector<QString> strings_;
    std::map<QString, uint32_t> stringIndex_;
    uint32_t stringRefs_ = 0;
    std::vector<int> boundSheetAt_;
};

QByteArray Builder::build() {
    for (const NewSheet& s : book_.sheets) {
        sheets_.push_back(orderedCells(s));
        for (const Cell& c : sheets_.back().cells) {
            if (const QString* text = std::get_if<QString>(&c.source->value); text && biff8_) {
                stringIndex_.try_emplace(*text, uint32_t(stringIndex_.size()));
                ++stringRefs_;
            }
        }
    }
    strings_.resize(stringIndex_.size());
    for (const auto& [text, index] : stringIndex_) {
        strings_[index] = text;
    }
    globals();
    for (size_t i = 0; i < book_.sheets.size(); ++i) {
        const uint32_t at = uint32_t(out_.size());
        for (int k = 0; k < 4; ++k) {
            out_[boundSheetAt_[i] + 4 + k] = char((at >> (8 * k)) & 0xFF);
        }
        sheet(i);
    }
    return out_;
}

void Builder::globals() {
    if (biff8_) {
        rec(rec::Bof, Body().u16(0x0600).u16(0x0005).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b);
    } else {
        rec(rec::Bof, Body().u16(0x0500).u16(0x0005).u16(0x0DBB).u16(0x07CC).b);
    }
    rec(0x00E1, biff8_ ? Body().u16(0x04B0).b : QByteArray());  // INTERFACEHDR
    rec(0x00C1, Body().u16(0).b);                               // MMS
    rec(0x00E2, QByteArray());                                  // INTERFACEEND
    rec(rec::CodePage, Body().u16(biff8_ ? 1200 : unsigned(opt_.codePage)).b);
    if (biff8_) {
        rec(0x0161, Body().u16(0).b);  // DSF
        Body tabs;
        for (size_t i = 0; i < book_.sheets.size(); ++i) {
            tabs.u16(unsigned(i + 1));
        }
        rec(0x013D, tabs.b);  // TABID
    }
    const unsigned active =
        unsigned(std::clamp<int>(book_.activeSheet, 0, int(book_.sheets.size()) - 1));
    rec(rec::Window1, Body()
                          .u16(0x0168)
                          .u16(0x001E)
                          .u16(0x4000)
                          .u16(0x2000)
                          .u16(0x0038)
                          .u16(active)
                          .u16(0)
                          .u16(1)
                          .u16(0x0258)
                          .b);
    rec(0x0040, Body().u16(0).b);  // BACKUP
    rec(0x008D, Body().u16(0).b);  // HIDEOBJ
    rec(rec::DateMode, Body().u16(0).b);
    rec(0x000E, Body().u16(1).b);  // PRECISION
    rec(0x00DA, Body().u16(0).b);  // BOOKBOOL
    formatting();
    for (const NewSheet& s : book_.sheets) {
        boundSheetAt_.push_back(int(out_.size()));
        rec(rec::BoundSheet, Body().u32(0).u8(0).u8(0).raw(name(s.name)).b);
    }
    rec(0x008C, Body().u16(86).u16(86).b);  // COUNTRY: China
    if (biff8_) {
        sharedStrings();
    }
    rec(rec::Eof, QByteArray());
}

void Builder::formatting() {
    const QString face = QStringLiteral("宋体");
    for (int i = 0; i < 4; ++i) {  // Excel expects fonts 0-3 (there is no font 4)
        Body font;
        font.u16(220).u16(0).u16(0x7FFF).u16(400).u16(0).u8(0).u8(0).u8(134).u8(0);
        rec(0x0031, font.raw(name(face)).b);
    }
    for (unsigned i = 0; i < 16; ++i) {  // 15 style formats, then the default cell format
        const bool style = i < 15;
        const unsigned font = (i >= 1 && i <= 4) ? (i <= 2 ? 1 : 2) : 0;
        Body xf;
        xf.u16(font).u16(0).u16(style ? 0xFFF5 : 0x0001);
        if (biff8_) {
            xf.u8(0x20).u8(0).u8(0).u8(style && i > 0 ? 0xF4 : 0).u32(0).u32(0).u16(0x20C0);
        } else {
            xf.u16(0x0020 | ((style && i > 0) ? 0xF400 : 0)).u32(0x000020C0).u32(0);
        }
        rec(rec::Xf, xf.b);
    }
    rec(0x0293, Body().u16(0x8000).u8(0).u8(0xFF).b);  // STYLE: Normal
    if (biff8_) {
        rec(0x0160, Body().u16(0).b);  // USESELFS
    }
}

// SST with CONTINUE records as Excel splits it, and EXTSST pointing into it.
void Builder::sharedStrings() {
    const uint32_t perBucket = std::max<uint32_t>(8, uint32_t((strings_.size() + 127) / 128));
    Body ext;
    ext.u16(perBucket);
    Body body;
    body.u32(stringRefs_).u32(uint32_t(strings_.size()));
    uint16_t type = rec::Sst;
    auto flush = [&] {
        rec(type, body.b);
        body.b.clear();
        type = rec::Continue;
    };
    for (size_t i = 0; i < strings_.size(); ++i) {
        const QString& s = strings_[i];
        const bool wide = needsWide(s);
        const int width = wide ? 2 : 1;
        if (body.b.size() + 3 + (s.isEmpty() ? 0 : width) > MaxBody8) {
            flush();
        }
        if (i % perBucket == 0) {
            ext.u32(uint32_t(out_.size() + 4 + body.b.size()))
                .u16(unsigned(4 + body.b.size()))
                .u16(0);
        }
        body.u16(unsigned(s.size())).u8(wide ? 1 : 0);
        qsizetype done = 0;
        while (done < s.size()) {
            const qsizetype room = (MaxBody8 - body.b.size()) / width;
            if (room == 0) {
                flush();
                body.u8(wide ? 1 : 0);  // the characters go on with their width flag
                continue;
            }
            const qsizetype n = std::min(room, s.size() - done);
            body.raw(chars8(s.mid(done, n), wide));
            done += n;
        }
    }
    flush();
    rec(0x00FF, ext.b);  // EXTSST
}

void Builder::rowBlock(const std::vector<Cell>& cells, size_t from, size_t to) {
    for (size_t i = from; i < to;) {
        size_t j = i;
        while (j < to && cells[j].row == cells[i].row) {
            ++j;
        }
        rec(0x0208, Body()
                        .u16(cells[i].row)
                        .u16(cells[i].col)
                        .u16(cells[j - 1].col + 1u)
                        .u16(0x00FF)
                        .u16(0)
                        .u16(0)
                        .u16(0x0100)
                        .u16(CellXf)
                        .b);
        i = j;
    }
    for (size_t i = from; i < to; ++i) {
        const Cell& c = cells[i];
        Body cell;
        cell.u16(c.row).u16(c.col).u16(CellXf);
        if (const double* number = std::get_if<double>(&c.source->value)) {
            rec(rec::Number, cell.f64(*number).b);
        } else if (biff8_) {
            rec(rec::LabelSst, cell.u32(stringIndex_.at(std::get<QString>(c.source->value))).b);
        } else {
            rec(rec::Label, cell.raw(string5(std::get<QString>(c.source->value), true, 255)).b);
        }
    }
}

void Builder::sheet(size_t index) {
    const std::vector<Cell>& cells = sheets_[index].cells;
    rec(rec::Bof, biff8_ ? Body().u16(0x0600).u16(0x0010).u16(0x0DBB).u16(0x07CC).u32(0).u32(6).b
                         : Body().u16(0x0500).u16(0x0010).u16(0x0DBB).u16(0x07CC).b);
    uint32_t firstRow = 0, lastRow = 0, firstCol = 0, lastCol = 0;
    if (!cells.empty()) {
        firstRow = cells.front().row;
        lastRow = uint32_t(cells.back().row) + 1;
        firstCol = 255;
        for (const Cell& c : cells) {
            firstCol = std::min<uint32_t>(firstCol, c.col);
            lastCol = std::max<uint32_t>(lastCol, uint32_t(c.col) + 1);
        }
    }
    rec(0x0200, biff8_ ? Body().u32(firstRow).u32(lastRow).u16(firstCol).u16(lastCol).u16(0).b
                       : Body().u16(firstRow).u16(lastRow).u16(firstCol).u16(lastCol).u16(0).b);
    // Blocks of up to 32 rows: their ROW records, then their cells.
    for (size_t next = 0; next < cells.size();) {
        const uint32_t blockEnd = (cells[next].row / 32 + 1) * 32;
        size_t end = next;
        while (end < cells.size() && cells[end].row < blockEnd) {
            ++end;
        }
        rowBlock(cells, next, end);
        next = end;
    }
    const bool active = int(index) == book_.activeSheet;
    Body window;
    window.u16(active ? 0x06B6 : 0x00B6).u16(0).u16(0);
    rec(0x023E, biff8_ ? window.u32(0x40).u16(0).u16(0).u32(0).b : window.u32(0).b);
    rec(rec::Eof, QByteArray());
}

}  // namespace

// Appends one record; bodies longer than a record can hold go on in CONTINUE records.
void appendLongRecord(QByteArray& out, uint16_t type, const QByteArray& body) {
    qsizetype done = 0;
    do {
        const qsizetype n = std::min<qsizetype>(MaxBody8, body.size() - done);
        out.append(Body().u16(done == 0 ? type : rec::Continue).u16(unsigned(n)).b);
        out.append(body.constData() + done, n);
        done += n;
    } while (done < body.size());
}

QByteArray biffStream(const NewWorkbook& book, const WriteOptions& options) {
    return Builder(book, options).build();
}

}  // namespace sortilo::xls
