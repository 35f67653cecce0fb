#pragma once

#include "platform/xls/Bytes.h"

#include <QByteArray>
#include <QString>

#include <vector>

// The BIFF record stream of a workbook, as reading and editing both see it: its records and the
// substreams they form, the CONTINUE records that carry long bodies on, and the strings in them.
namespace sortilo::xls {

namespace rec {
constexpr uint16_t Formula = 0x0006, Eof = 0x000A, Selection = 0x001D, DateMode = 0x0022,
                   FilePass = 0x002F, Continue = 0x003C, Window1 = 0x003D, Pane = 0x0041,
                   CodePage = 0x0042, DefColWidth = 0x0055, Uncalced = 0x005E, ColInfo = 0x007D,
                   BoundSheet = 0x0085, MulRk = 0x00BD, MulBlank = 0x00BE, RString = 0x00D6,
                   DbCell = 0x00D7, Xf = 0x00E0, Sst = 0x00FC, LabelSst = 0x00FD, ExtSst = 0x00FF,
                   RecalcId = 0x01C1, Dimensions = 0x0200, Blank = 0x0201, Number = 0x0203,
                   Label = 0x0204, BoolErr = 0x0205, String = 0x0207, Row = 0x0208, Index = 0x020B,
                   Array = 0x0221, Table = 0x0236, Window2 = 0x023E, Rk = 0x027E, Format = 0x041E,
                   ShrFmla = 0x04BC, Bof = 0x0809;
}

constexpr int MaxRecordBody = 8224;

struct Record {
    uint16_t type = 0;
    uint16_t length = 0;
    uint32_t offset = 0;  // of its header in the stream
};

// A BOF..EOF substream at the top level (embedded charts nest inside and stay part of it), or a
// run of records between substreams that belongs to none.
struct Section {
    bool substream = false;
    uint16_t bofType = 0;  // 0x0005 globals, 0x0010 sheet, 0x0020 chart, 0x0040 macro
    int first = 0;         // record indices, end exclusive
    int end = 0;
    uint32_t begin = 0;  // byte range in the stream, end exclusive
    uint32_t stop = 0;
    std::vector<uint16_t> windowFlags;  // of its own WINDOW2 records, one per workbook window
};

struct RecordStream {
    QByteArray bytes;
    std::vector<Record> records;
    std::vector<Section> sections;
    QByteArray trailing;      // bytes after the last whole record (padding some writers add)
    int overrun = -1;         // the section in which a record runs past the stream's end
    bool unfinished = false;  // the stream ends inside a substream

    const char* body(const Record& r) const { return bytes.constData() + r.offset + 4; }
    const char* body(int index) const { return body(records[size_t(index)]); }
    Span span(int index, size_t from = 0) const;
    // Record `index`'s body from `from` on, followed by the bodies of the CONTINUE records
    // right after it.
    std::vector<Span> continued(int index, size_t from = 0) const;
};

// Splits a BIFF stream into records and sections. A record running past the end ends the split.
RecordStream splitRecords(const QByteArray& stream);

// Appends a record header and body.
inline void appendRecord(QByteArray& out, uint16_t type, const char* body, int length) {
    char header[4];
    put16(header, type);
    put16(header + 2, uint32_t(length));
    out.append(header, 4);
    out.append(body, length);
}
inline void appendRecord(QByteArray& out, uint16_t type, const QByteArray& body) {
    appendRecord(out, type, body.constData(), int(body.size()));
}

// Whether a record is one of the cell records of a sheet.
bool isCellRecord(uint16_t type);
// The width of one column's entry in a MULRK / MULBLANK body.
inline int multiWidth(uint16_t type) {
    return type == rec::MulRk ? 6 : 2;
}
double rkValue(uint32_t rk);

// A record body followed by its CONTINUE bodies, read as one sequence. Fixed fields are read
// straight across the joins; characters going on in a new record carry a fresh width flag.
class Fragments {
public:
    explicit Fragments(std::vector<Span> parts) : parts_(std::move(parts)) {}

    bool readU8(uint8_t& v);
    bool readU16(uint16_t& v);
    bool readU32(uint32_t& v);
    bool atEnd();
    // Appends n bytes as they stand.
    bool copy(size_t n, QByteArray& out);
    // Appends cch characters at one width: two bytes each (UTF-16LE) as soon as a piece is
    // wide, the narrow ones before it widened; one byte (Latin-1) each otherwise.
    bool readChars(uint32_t cch, bool& wide, QByteArray& out);

private:
    bool advance();  // to the next non-empty part; false at the end
    std::vector<Span> parts_;
    size_t part_ = 0;
    size_t off_ = 0;
};

// A BIFF8 string kept in a byte pool: its characters at one width, then its formatting runs,
// then its phonetic block, as the file holds them.
struct PooledString {
    uint32_t offset = 0;
    uint32_t cch = 0;
    uint32_t charBytes = 0;
    uint32_t runBytes = 0;
    uint32_t phoneticBytes = 0;
    uint8_t flags = 0;  // bit 0 UTF-16, bit 2 phonetic block, bit 3 rich text
};

enum class StringEnd { Whole, TailCut, Cut };  // TailCut: only runs or phonetic block short
// Reads an XLUnicodeString / XLUnicodeRichExtendedString into `pool`.
StringEnd readString(Fragments& f, bool longCount, QByteArray& pool, PooledString& out);
QString pooledText(const QByteArray& pool, const PooledString& s);
// The text of a BIFF8 string; false when its characters are cut short.
bool readText(std::vector<Span> parts, bool longCount, QString& out);

// Converts the 8-bit strings of BIFF5 workbooks from their code page.
class CodePage {
public:
    explicit CodePage(int codePage = 1252);
    // By iconv's name of the charset; Windows-1252 when iconv does not know it.
    explicit CodePage(const QByteArray& iconvName);
    QString decode(const uint8_t* bytes, size_t size) const;
    QByteArray iconvName() const { return iconvName_; }

private:
    QByteArray iconvName_;
};

// A BIFF5 byte string with an 8- or 16-bit length, in the workbook's code page.
bool readBiff5String(Span body, size_t& pos, bool longCount, const CodePage& cp, QString& out);

}  // namespace sortilo::xls
