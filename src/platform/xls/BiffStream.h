#pragma once

#include "platform/xls/Bytes.h"

#include <QString>

#include <vector>

namespace sortilo::xls {

namespace rec {
constexpr uint16_t Formula = 0x0006;
constexpr uint16_t Eof = 0x000A;
constexpr uint16_t DateMode = 0x0022;
constexpr uint16_t FilePass = 0x002F;
constexpr uint16_t Continue = 0x003C;
constexpr uint16_t Window1 = 0x003D;
constexpr uint16_t CodePage = 0x0042;
constexpr uint16_t BoundSheet = 0x0085;
constexpr uint16_t MulRk = 0x00BD;
constexpr uint16_t RString = 0x00D6;
constexpr uint16_t Xf = 0x00E0;
constexpr uint16_t Sst = 0x00FC;
constexpr uint16_t LabelSst = 0x00FD;
constexpr uint16_t Number = 0x0203;
constexpr uint16_t Label = 0x0204;
constexpr uint16_t BoolErr = 0x0205;
constexpr uint16_t String = 0x0207;
constexpr uint16_t Rk = 0x027E;
constexpr uint16_t Format = 0x041E;
constexpr uint16_t Bof = 0x0809;
}  // namespace rec

struct Record {
    uint16_t type = 0;
    size_t offset = 0;  // of the record header in the stream
    Span body;
};

// Walks the records of a BIFF stream. A record whose length runs past the end of the stream
// ends the walk and marks the stream as overrun.
class RecordReader {
public:
    RecordReader(const uint8_t* data, size_t size, size_t pos = 0)
        : data_(data), size_(size), pos_(pos) {}

    bool next(Record& record);
    // The bodies of the CONTINUE records right after the current one, consumed.
    void takeContinues(std::vector<Span>& parts);
    bool overrun() const { return overrun_; }
    size_t pos() const { return pos_; }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_;
    bool overrun_ = false;
};

// Converts the 8-bit strings of BIFF5 workbooks from their code page.
class CodePage {
public:
    explicit CodePage(int codePage = 1252);
    QString decode(const uint8_t* bytes, size_t size) const;
    // Characters the code page lacks become '?'.
    QByteArray encode(const QString& text) const;
    int number() const { return number_; }

private:
    int number_;
    QByteArray iconvName_;
};

// A record body followed by its CONTINUE bodies, read as one sequence. Fixed fields are read
// straight across the joins; the characters of a string get a fresh width flag at each join.
class Fragments {
public:
    explicit Fragments(std::vector<Span> parts) : parts_(std::move(parts)) {}

    bool readU8(uint8_t& v);
    bool readU16(uint16_t& v);
    bool readU32(uint32_t& v);
    bool skip(size_t n);
    bool atEnd();
    // BIFF8 characters: cch characters, one byte (Latin-1) or two (UTF-16LE) each.
    bool readChars(uint32_t cch, bool wide, QString& out);
    // BIFF8 XLUnicodeString / XLUnicodeRichExtendedString (runs and phonetic data skipped).
    // `richTailOk` is false when only the runs or phonetic block were cut short.
    bool readUnicodeString(QString& out, bool longCount, bool* richTailOk = nullptr);

private:
    bool advance();  // to the next non-empty part; false at the end
    std::vector<Span> parts_;
    size_t part_ = 0;
    size_t off_ = 0;
};

// BIFF8 ShortXLUnicodeString / XLUnicodeString inside one record body, starting at `pos`.
bool readBiff8String(Span body, size_t& pos, bool longCount, QString& out);
// BIFF5 byte string with an 8- or 16-bit length, in the workbook's code page.
bool readBiff5String(Span body, size_t& pos, bool longCount, const CodePage& cp, QString& out);

}  // namespace sortilo::xls
