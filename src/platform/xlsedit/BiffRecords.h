#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

namespace sortilo::xlsedit {

namespace rec {
constexpr uint16_t Formula = 0x0006, Eof = 0x000A, Selection = 0x001D, FilePass = 0x002F,
                   Continue = 0x003C, Window1 = 0x003D, Pane = 0x0041, DefColWidth = 0x0055,
                   Uncalced = 0x005E, ColInfo = 0x007D, BoundSheet = 0x0085, MulRk = 0x00BD,
                   MulBlank = 0x00BE, RString = 0x00D6, DbCell = 0x00D7, Sst = 0x00FC,
                   LabelSst = 0x00FD, ExtSst = 0x00FF, RecalcId = 0x01C1, Dimensions = 0x0200,
                   Blank = 0x0201, Number = 0x0203, Label = 0x0204, BoolErr = 0x0205,
                   String = 0x0207, Row = 0x0208, Index = 0x020B, Array = 0x0221, Table = 0x0236,
                   Window2 = 0x023E, Rk = 0x027E, ShrFmla = 0x04BC, Bof = 0x0809;
}

constexpr int kMaxRecordBody = 8224;
// FORMULA flags (u16 at body offset 14): calculate the formula at the next recalculation.
constexpr int kFormulaFlags = 14;
constexpr uint8_t kFormulaAlwaysCalc = 0x01;

inline uint16_t le16(const char* p) {
    return uint16_t(uint8_t(p[0]) | (uint8_t(p[1]) << 8));
}
inline uint32_t le32(const char* p) {
    return uint32_t(le16(p)) | (uint32_t(le16(p + 2)) << 16);
}
inline void put16(char* p, uint32_t v) {
    p[0] = char(v & 0xFF);
    p[1] = char((v >> 8) & 0xFF);
}
inline void put32(char* p, uint32_t v) {
    put16(p, v & 0xFFFF);
    put16(p + 2, v >> 16);
}
inline void append16(QByteArray& out, uint32_t v) {
    char b[2];
    put16(b, v);
    out.append(b, 2);
}
inline void append32(QByteArray& out, uint32_t v) {
    char b[4];
    put32(b, v);
    out.append(b, 4);
}
// Appends a record header and body.
void appendRecord(QByteArray& out, uint16_t type, const char* body, int length);
inline void appendRecord(QByteArray& out, uint16_t type, const QByteArray& body) {
    appendRecord(out, type, body.constData(), int(body.size()));
}

// One record of the Workbook stream, addressed in the stream it came from.
struct Record {
    uint16_t type = 0;
    uint16_t length = 0;
    uint32_t offset = 0;  // of the header in the stream
};

// A BOF..EOF section at the top level (embedded charts nest inside and stay part of it), or a
// run of records between sections that belongs to none (kept as found).
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
    QByteArray trailing;  // bytes after the last whole record (padding some writers add)

    const char* body(const Record& r) const { return bytes.constData() + r.offset + 4; }
    const char* body(int index) const { return body(records[size_t(index)]); }
};

// Splits a Workbook stream into records and sections. Returns false with a reason when a
// section is cut short.
bool splitRecords(const QByteArray& stream, RecordStream& out, QString& reason);

}  // namespace sortilo::xlsedit
