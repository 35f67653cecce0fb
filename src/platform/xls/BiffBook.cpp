#include "platform/xls/BiffBook.h"

#include "platform/xls/LegacyCrypto.h"

namespace sortilo::xls {

namespace {

Error corrupt(const char* what) {
    return fault(ErrorKind::Corrupt, QString::fromLatin1(what));
}

// BIFF5 strings are in the code page, which CODEPAGE may give after them: decode at the end.
struct Biff5Strings {
    std::vector<std::pair<int, Span>> formats;
    std::vector<Span> names;
};

void readBoundSheet(const RecordStream& s, int i, Globals& g, Biff5Strings& b5) {
    const Span body = s.span(i);
    g.shortSheetRecord = g.shortSheetRecord || body.size < 8;
    if (body.size < 6) {
        return;
    }
    SheetInfo info;
    info.hidden = body.data[4] != 0;
    info.type = biffSheetType(body.data[5]);
    if (g.biff >= 8 && !readText({s.span(i, 6)}, false, info.name)) {
        info.name.clear();
    } else if (g.biff < 8) {
        b5.names.push_back(s.span(i, 6));
    }
    g.directory.sheets.push_back(info);
    g.directory.offsets.push_back(le32(body.data));
    g.sheetRecords.push_back(i);
}

void readFormat(const RecordStream& s, int i, Globals& g, Biff5Strings& b5) {
    const Span body = s.span(i);
    if (body.size < 3) {
        return;
    }
    const int id = le16(body.data);
    QString text;
    if (g.biff < 8) {
        b5.formats.emplace_back(id, s.span(i, 2));
    } else if (readText({s.span(i, 2)}, true, text)) {
        g.formats[id] = text;
    }
}

void decodeBiff5Strings(const Biff5Strings& b5, Globals& g) {
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

void readRecord(const RecordStream& s, int i, Globals& g, Biff5Strings& b5) {
    const Span body = s.span(i);
    switch (s.records[size_t(i)].type) {
        case rec::CodePage:
            g.codePage = body.size >= 2 ? le16(body.data) : g.codePage;
            break;
        case rec::DateMode:
            g.date1904 = body.size >= 2 && le16(body.data) == 1;
            break;
        case rec::Window1:
            if (body.size >= 12) {
                g.directory.windowTabs.push_back(le16(body.data + 10));
            }
            break;
        case rec::Format:
            readFormat(s, i, g, b5);
            break;
        case rec::Xf:
            if (body.size >= 4) {
                g.xfFormats.push_back(le16(body.data + 2));
            }
            break;
        case rec::BoundSheet:
            readBoundSheet(s, i, g, b5);
            break;
        case rec::Sst:
            if (g.sstRecord < 0) {
                g.sstRecord = i;
                g.sst.parse(s.continued(i));
            }
            break;
        default:
            break;
    }
}

// The FILEPASS record of the globals, when there is one: decrypts the rest of the stream.
Result<void> decrypt(RecordStream& s, const Section& globals, Globals& g, const QString* password) {
    for (int i = globals.first; i < globals.end && g.filePass < 0; ++i) {
        g.filePass = s.records[size_t(i)].type == rec::FilePass ? i : -1;
    }
    if (g.filePass < 0) {
        return {};
    }
    if (!password) {
        return fault(ErrorKind::PasswordProtected, QStringLiteral("encrypted workbook"));
    }
    const FilePassReading r = readFilePass(s.span(g.filePass), g.biff, *password);
    if (r.result != FilePassResult::Opened) {
        return fault(ErrorKind::PasswordProtected, r.scheme);
    }
    decryptRecords(s, g.filePass, r.key);
    return {};
}

Result<Globals> readGlobals(RecordStream& s, const QString* password) {
    if (s.records.empty() || s.records[0].type != rec::Bof || s.records[0].length < 4) {
        return corrupt("the workbook stream does not start with a BOF record");
    }
    Globals g;
    const uint16_t version = le16(s.body(0));
    if (version != 0x0500 && version != 0x0600) {
        return fileFault(ErrorKind::UnsupportedFormat, FileKind::UnknownBiff,
                         QStringLiteral("BIFF version %1").arg(version, 4, 16));
    }
    g.biff = version == 0x0500 ? 5 : 8;
    const Section& globals = s.sections[0];
    if (globals.bofType != 0x0005) {
        g.hasGlobals = false;
        g.directory.sheets.push_back(
            SheetInfo{QStringLiteral("Sheet1"), SheetInfo::Type::Worksheet, false});
        g.directory.offsets.push_back(0);
        return g;
    }
    if (Result<void> d = decrypt(s, globals, g, password); !d) {
        return d.error();
    }
    Biff5Strings b5;
    for (int i = globals.first + 1; i < globals.end; ++i) {
        readRecord(s, i, g, b5);
    }
    decodeBiff5Strings(b5, g);
    return g;
}

}  // namespace

Result<BiffBook> readBiffBook(const QByteArray& bytes, const QString* password) {
    Result<CompoundFile> file = readCompoundFile(bytes);
    if (!file) {
        return file.error();
    }
    BiffBook book;
    book.file = std::move(*file);
    const CfbNode& root = book.file.root;
    // A file with a BIFF8 `Workbook` and an older `Book` copy is read as spreadsheet programs
    // read it: from `Workbook`.
    book.entry = findStream(root, QStringLiteral("Workbook"));
    book.entry = book.entry >= 0 ? book.entry : findStream(root, QStringLiteral("Book"));
    if (book.entry < 0) {
        if (findStream(root, QStringLiteral("EncryptedPackage")) >= 0) {
            return fileFault(ErrorKind::PasswordProtected, FileKind::Xlsx,
                             QStringLiteral("encrypted xlsx"));
        }
        return fileFault(ErrorKind::NotAWorkbook, FileKind::OtherOffice,
                         QStringLiteral("a compound file without a workbook stream"));
    }
    const CfbNode& node = root.children[size_t(book.entry)];
    if (node.damaged) {
        return corrupt("the workbook stream's sector chain is broken");
    }
    book.stream = splitRecords(node.data);
    Result<Globals> globals = readGlobals(book.stream, password);
    if (!globals) {
        return globals.error();
    }
    book.globals = std::move(*globals);
    const bool hasGlobals = book.globals.hasGlobals;
    if (hasGlobals && book.stream.overrun == 0) {
        return corrupt("a record of the workbook globals runs past the end of the stream");
    }
    if (book.globals.sst.damaged()) {
        return corrupt("a shared string runs past the end of the string table");
    }
    book.placement = placeSheets(book.stream, hasGlobals ? 1 : 0, book.globals.directory);
    return book;
}

}  // namespace sortilo::xls
