#include "platform/xls/BiffGlobals.h"

#include "platform/Texts.h"
#include "platform/xls/LegacyCrypto.h"

namespace sortilo::xls {

namespace {

SheetError corrupt(const char* what) {
    return {SheetProblem::Corrupt, QString::fromLatin1(what)};
}

// BIFF5 strings are in the code page, which CODEPAGE may give after them: decode at the end.
struct Biff5Strings {
    std::vector<std::pair<int, Span>> formats;
    std::vector<Span> names;
};

SheetError decrypt(QByteArray& stream, const Record& filePass, int biff, const QString& password) {
    const FilePassReading r = readFilePass(filePass.body, biff, password);
    if (r.result != FilePassResult::Opened) {
        return {SheetProblem::PasswordProtected, r.scheme};
    }
    transformRecords(stream, filePass.offset + 4 + filePass.body.size, r.key, false);
    return {};
}

void readBoundSheet(const Record& r, BiffGlobals& g, Biff5Strings& b5) {
    if (r.body.size < 6) {
        return;
    }
    SheetInfo info;
    info.hidden = r.body.data[4] != 0;
    info.type = biffSheetType(r.body.data[5]);
    if (g.biff >= 8) {
        size_t pos = 6;
        if (!readBiff8String(r.body, pos, false, info.name)) {
            info.name.clear();
        }
    } else {
        b5.names.push_back(Span{r.body.data + 6, r.body.size - 6});
    }
    g.directory.sheets.push_back(info);
    g.directory.offsets.push_back(le32(r.body.data));
}

void readFormat(const Record& r, BiffGlobals& g, Biff5Strings& b5) {
    if (r.body.size < 3) {
        return;
    }
    const int id = le16(r.body.data);
    if (g.biff >= 8) {
        size_t pos = 2;
        QString s;
        if (readBiff8String(r.body, pos, true, s)) {
            g.formats[id] = s;
        }
    } else {
        b5.formats.emplace_back(id, Span{r.body.data + 2, r.body.size - 2});
    }
}

void decodeBiff5Strings(const Biff5Strings& b5, BiffGlobals& g) {
    const CodePage cp(g.codePage < 0 ? 936 : g.codePage);
    for (const auto& [id, span] : b5.formats) {
        size_t pos = 0;
        QString s;
        if (readBiff5String(span, pos, false, cp, s)) {
            g.formats[id] = s;
        }
    }
    std::vector<SheetInfo>& sheets = g.directory.sheets;
    for (size_t i = 0; i < b5.names.size() && i < sheets.size(); ++i) {
        size_t pos = 0;
        readBiff5String(b5.names[i], pos, false, cp, sheets[i].name);
    }
}

// One record of the globals; FILEPASS decrypts the rest of the stream in place.
SheetError globalsRecord(const Record& r, RecordReader& reader, QByteArray& stream, BiffGlobals& g,
                         Biff5Strings& b5, const QString& password) {
    switch (r.type) {
        case rec::FilePass:
            if (SheetError e = decrypt(stream, r, g.biff, password)) {
                return e;
            }
            break;
        case rec::CodePage:
            if (r.body.size >= 2) {
                g.codePage = le16(r.body.data);
            }
            break;
        case rec::DateMode:
            g.date1904 = r.body.size >= 2 && le16(r.body.data) == 1;
            break;
        case rec::Window1:
            if (r.body.size >= 12) {
                g.directory.windowTabs.push_back(le16(r.body.data + 10));
            }
            break;
        case rec::Format:
            readFormat(r, g, b5);
            break;
        case rec::Xf:
            if (r.body.size >= 4) {
                g.xfFormats.push_back(le16(r.body.data + 2));
            }
            break;
        case rec::BoundSheet:
            readBoundSheet(r, g, b5);
            break;
        case rec::Sst: {
            std::vector<Span> parts{r.body};
            reader.takeContinues(parts);
            if (SheetError e = readSharedStrings(std::move(parts), g.sharedStrings)) {
                return e;
            }
            break;
        }
        default:
            break;
    }
    return {};
}

}  // namespace

SheetError readSharedStrings(std::vector<Span> parts, std::vector<QString>& out) {
    size_t total = 0;
    for (const Span& s : parts) {
        total += s.size;
    }
    Fragments f(std::move(parts));
    uint32_t refs = 0;
    uint32_t unique = 0;
    if (!f.readU32(refs) || !f.readU32(unique)) {
        return {};  // an SST without its counts holds no strings
    }
    // The unique count can be wrong: read until the data ends, reserve only what can fit.
    out.reserve(std::min<size_t>(unique, total / 3));
    while (!f.atEnd()) {
        QString s;
        bool tailOk = true;
        if (!f.readUnicodeString(s, true, &tailOk)) {
            if (out.size() >= unique) {
                break;  // padding after the last counted string
            }
            return corrupt("a shared string runs past the end of the string table");
        }
        out.push_back(std::move(s));
        if (!tailOk) {
            break;  // only the formatting runs of the last string were cut short
        }
    }
    return {};
}

SheetError readBiffGlobals(QByteArray& stream, BiffGlobals& g, const QString& password) {
    const auto* base = reinterpret_cast<const uint8_t*>(stream.data());  // detached: ours now
    RecordReader reader(base, size_t(stream.size()));
    Record r;
    if (!reader.next(r) || r.type != rec::Bof || r.body.size < 4) {
        return corrupt("the workbook stream does not start with a BOF record");
    }
    const uint16_t version = le16(r.body.data);
    g.biff = version == 0x0500 ? 5 : 8;
    if (version != 0x0500 && version != 0x0600) {
        return {SheetProblem::UnsupportedFormat, texts::FileKindUnknownBiff};
    }
    if (le16(r.body.data + 2) != 0x0005) {
        // A stream that holds one worksheet and no globals.
        g.directory.sheets.push_back(
            SheetInfo{QStringLiteral("Sheet1"), SheetInfo::Type::Worksheet, false});
        g.directory.offsets.push_back(0);
        return {};
    }
    Biff5Strings b5;
    while (reader.next(r)) {
        if (r.type == rec::Eof) {
            g.end = reader.pos();
            decodeBiff5Strings(b5, g);
            return {};
        }
        if (SheetError e = globalsRecord(r, reader, stream, g, b5, password)) {
            return e;
        }
    }
    if (reader.overrun()) {
        return corrupt("a record of the workbook globals runs past the end of the stream");
    }
    g.end = reader.pos();
    decodeBiff5Strings(b5, g);
    return {};
}

}  // namespace sortilo::xls
