// Damaged files and other kinds of file under a workbook's name: reading and editing refuse
// alike what is not whole (looping or overrunning sector chains, records or strings longer than
// what holds them); both read whole data other readers are lenient about; editing alone refuses
// what it would write back cut short or in doubt.
#include "WorkbookWriter.h"
#include "platform/xls/Biff.h"
#include "platform/xls/Container.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"
#include "support/Files.h"
#include "support/TestData.h"

#include <QTest>

#include <functional>
#include <variant>

using namespace sortilo;
using namespace sortilo::xls;

// The sheet that opens, or the refusal (with what the file is, where the refusal says it).
using Outcome = std::variant<QString, Error>;
Q_DECLARE_METATYPE(Outcome)

namespace {

NewWorkbook rosterBook(int names = 40) {
    NewSheet sheet{QStringLiteral("名单"), {}};
    for (int i = 0; i < names; ++i) {
        sheet.cells.push_back({i + 3, 1, QStringLiteral("姓名%1").arg(i)});
    }
    NewWorkbook book;
    book.sheets = {NewSheet{QStringLiteral("说明"), {{1, 1, QStringLiteral("intro")}}}, sheet};
    book.activeSheet = 1;
    return book;
}

// Stream offsets of the records of a type, in order.
std::vector<size_t> recordsOf(const QByteArray& stream, uint16_t type) {
    std::vector<size_t> at;
    for (const Record& r : splitRecords(stream).records) {
        if (r.type == type) {
            at.push_back(r.offset);
        }
    }
    return at;
}

// The stream with a 16-bit field (`width` 4: 32-bit) `at` bytes into the `n`-th record of a
// type (-1: the last) set to `value`.
QByteArray patched(QByteArray s, uint16_t type, int n, size_t at, uint32_t value, int width = 2) {
    const std::vector<size_t> found = recordsOf(s, type);
    char* p = s.data() + at + (n < 0 ? found.back() : found[size_t(n)]);
    width == 4 ? put32(p, value) : put16(p, value);
    return s;
}

QByteArray cfb(const QByteArray& stream, const char* name = "Workbook") {
    return compoundFileBytes(stream, QString::fromLatin1(name));
}

// The roster with its WINDOW1 (18 bytes of body) given over to a FILEPASS record with `body`
// (at most 14 bytes) and a record no reader knows after it.
QByteArray encrypted(const char* hex) {
    const QByteArray body = QByteArray::fromHex(hex);
    QByteArray s = biffStream(rosterBook());
    const size_t at = recordsOf(s, rec::Window1).front();
    QByteArray records = QByteArray::fromHex("2f00") + char(body.size()) + '\0' + body;
    records += QByteArray::fromHex("ef00") + char(14 - body.size()) + '\0';
    s.replace(qsizetype(at), 22, records.leftJustified(22, '\0'));
    return cfb(s);
}

// The roster beside a stream whose directory entry claims more bytes than its sectors hold.
QByteArray withStreamCutShort() {
    CompoundFile file{{QString(), true, false, {}, {}, {}}, 512};
    file.root.children = {
        {QStringLiteral("Workbook"), false, false, {}, biffStream(rosterBook()), {}},
        {QStringLiteral("Junk"), false, false, {}, QByteArray(5000, 'j'), {}}};
    QByteArray bytes = *xlsedit::writeCompoundFile(file);
    const qsizetype directory = (qsizetype(le32(bytes.constData() + 48)) + 1) * 512;
    const qsizetype junk = bytes.indexOf(QByteArray("J\0u\0n\0k\0", 8), directory);
    put32(bytes.data() + junk + 120, 6000);
    return bytes;
}

// Rewrites every FAT entry of a compound file that continues a chain.
QByteArray withFat(QByteArray file, const std::function<uint32_t(uint32_t sector)>& next) {
    const char* p = file.constData();
    const uint32_t fatSectors = le32(p + 44);
    for (uint32_t i = 0; i < fatSectors && i < 109; ++i) {
        const uint32_t fat = le32(p + 76 + 4 * i);
        for (uint32_t k = 0; k < 128; ++k) {
            const size_t at = size_t(fat + 1) * 512 + 4 * k;
            if (at + 4 <= size_t(file.size()) && le32(p + at) < 0xFFFFFFFA) {
                put32(file.data() + at, next(i * 128 + k));
            }
        }
    }
    return file;
}

template <typename Book>
void compare(const Result<Book>& book, const Outcome& expected) {
    if (const QString* sheet = std::get_if<QString>(&expected)) {
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), *sheet);
        return;
    }
    QVERIFY(!book);
    QCOMPARE(book.error().kind, std::get<Error>(expected).kind);
    QCOMPARE(book.error().content, std::get<Error>(expected).content);
    QVERIFY(!book.error().detail.isEmpty() || book.error().content != FileKind::Unknown);
}

}  // namespace

class TestBrokenFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void damage_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<Outcome>("reading");
        QTest::addColumn<Outcome>("editing");
        const auto row = [](const char* name, const QByteArray& file, const Outcome& reading,
                            std::optional<Outcome> editing = std::nullopt) {
            QTest::newRow(name) << file << reading << editing.value_or(reading);
        };
        const Error corrupt = fault(ErrorKind::Corrupt);
        const Error locked = fault(ErrorKind::PasswordProtected);
        const QString roster = QStringLiteral("名单");
        const QByteArray big = workbookFileBytes(rosterBook(2000));
        row("chains loop", withFat(big, [](uint32_t s) { return s; }), corrupt);
        row("chains run past the end", withFat(big, [](uint32_t) { return 0x00FFFFF0u; }), corrupt);
        row("another stream cut short", withStreamCutShort(), roster, corrupt);
        row("container cut in half", big.left(big.size() / 2), corrupt);
        row("only the header", big.left(512), corrupt);
        row("last sector cut short", big.left(big.size() - 200), roster);
        const QByteArray s = biffStream(rosterBook());
        row("cell record longer than the stream", cfb(patched(s, rec::LabelSst, -1, 2, 0xFFF0)),
            corrupt);
        row("globals record longer than the stream", cfb(patched(s, rec::Window1, 0, 2, 0xFFF0)),
            corrupt);
        // The first string's character count.
        row("string longer than its table", cfb(patched(s, rec::Sst, 0, 12, 60000)), corrupt);
        // The last shared string, 姓名39 (11 bytes), made 姓 with two formatting runs of which
        // the table holds one; made 姓名 with bytes after it that are no string. The texts read,
        // but a rewrite would drop or keep what is cut short.
        const auto lastString = [&](const char* hex) {
            QByteArray b = s;
            const size_t table = recordsOf(b, rec::Sst).front();
            b.replace(qsizetype(table + 4 + le16(b.constData() + table + 2) - 11), 11,
                      QByteArray::fromHex(hex));
            return cfb(b);
        };
        row("formatting of the last string cut short", lastString("0100090200d35900000100"), roster,
            corrupt);
        row("bytes after the last string", lastString("020001d3590d54ffffffff"), roster, corrupt);
        row("wrong shared string count", cfb(patched(s, rec::Sst, 0, 8, 100000, 4)), roster);
        row("stream without BOF", cfb(patched(s, rec::Bof, 0, 0, 0x1234)), corrupt);
        row("BIFF version unknown", cfb(patched(s, rec::Bof, 0, 4, 0x0400)),
            fileFault(ErrorKind::UnsupportedFormat, FileKind::UnknownBiff));
        const Section sheet = splitRecords(s).sections[2];
        row("a worksheet's records alone", cfb(s.mid(sheet.begin)), "Sheet1", corrupt);
        row("stream name in capitals", cfb(s, "WORKBOOK"), roster);
        row("BIFF8 stream named Book", cfb(s, "Book"), roster);
        row("sheet offset misses", cfb(patched(s, rec::BoundSheet, 1, 4, 0x00FFFFFF, 4)), roster);
        const QByteArray tab = patched(s, rec::Window1, 0, 14, 9);
        row("active tab out of range", cfb(tab), QStringLiteral("说明"));
        row("active tab out of range, first sheet hidden",
            cfb(patched(tab, rec::BoundSheet, 0, 8, 1)), roster);
        row("junk after the last EOF", cfb(s + QByteArray(3000, '\x7F')), roster);
        row("chart sheet opens", cfb(patched(s, rec::BoundSheet, 1, 8, 0x0200)),
            fault(ErrorKind::NoSheet), fault(ErrorKind::NoSheetToWrite));
        row("encrypted xlsx", cfb("x", "EncryptedPackage"),
            fileFault(ErrorKind::PasswordProtected, FileKind::Xlsx));
        row("XOR key cut short", encrypted("00000100"), locked);
        row("RC4 salt cut short", encrypted("0100010001000000"), locked);
        row("CryptoAPI header cut short", encrypted("01000200020004"), locked);
        row("CryptoAPI verifier missing", encrypted("0100030002000000000020000000"), locked);
        row("RC4 of an unknown version", encrypted("010005000500"), locked);
        row("unknown kind of encryption", encrypted("0200"), locked);
        row("empty file", QByteArray(), fileFault(ErrorKind::NotAWorkbook, FileKind::Empty));
        row("Word document", cfb("x", "WordDocument"),
            fileFault(ErrorKind::NotAWorkbook, FileKind::OtherOffice));
        row("BIFF8 stream without its container", s,
            fileFault(ErrorKind::UnsupportedFormat, FileKind::BareBiff));
        row("zip of nothing", QByteArray("PK\x03\x04rest", 8), corrupt);
        // .xlsx packages and other zip files under the .xls name (tests/data/xlsx/make.py).
        const auto package = [](const char* name) {
            return fileBytes(test::testData(QStringLiteral("xlsx/") + QLatin1String(name)));
        };
        row("xlsx whose chart sheet opens", package("chart-opens.xlsx.xls"),
            fault(ErrorKind::NoSheet));
        row("xlsx without sheets", package("no-sheets.xlsx.xls"), fault(ErrorKind::NoSheet));
        row("xlsx with a damaged part", package("damaged-part.xlsx.xls"), corrupt);
        row("xlsb", package("binary.xlsb.xls"),
            fileFault(ErrorKind::UnsupportedFormat, FileKind::Xlsb));
        row("ods", package("calc.ods.xls"), fileFault(ErrorKind::NotAWorkbook, FileKind::Ods));
        row("docx", package("report.docx.xls"),
            fileFault(ErrorKind::NotAWorkbook, FileKind::OtherOffice));
        row("zip", package("readme.zip.xls"), fileFault(ErrorKind::NotAWorkbook, FileKind::Zip));
    }

    void damage() {
        QFETCH(QByteArray, file);
        QFETCH(Outcome, reading);
        QFETCH(Outcome, editing);
        const Result<Workbook> read = Workbook::fromBytes(file);
        compare(read, reading);
        if (read && read->activeSheetName() == QStringLiteral("名单")) {
            QCOMPARE(read->cell(3, 1).text, QStringLiteral("姓名0"));
        }
        compare(xlsedit::EditableWorkbook::fromBytes(file), editing);
    }
};

QTEST_GUILESS_MAIN(TestBrokenFiles)
#include "TestBrokenFiles.moc"
