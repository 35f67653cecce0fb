// Damaged files and other kinds of file under a workbook's name: reading and editing both refuse
// them with the same kind of error where the data is not whole (looping or overrunning sector
// chains, records longer than their stream, strings longer than their table); both read them
// where other readers are lenient and the data is whole.
#include "WorkbookWriter.h"
#include "platform/xls/Biff.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"

#include <QTest>

#include <functional>

using namespace sortilo;
using namespace sortilo::xls;

Q_DECLARE_METATYPE(sortilo::ErrorKind)

namespace {

NewWorkbook rosterBook(int names) {
    NewSheet sheet{QStringLiteral("名单"), {}};
    for (int i = 0; i < names; ++i) {
        sheet.cells.push_back({i + 3, 1, QStringLiteral("姓名%1").arg(i)});
    }
    NewWorkbook book;
    book.sheets = {NewSheet{QStringLiteral("说明"), {{1, 1, QStringLiteral("intro")}}}, sheet};
    book.activeSheet = 1;
    return book;
}

QByteArray rosterStream(int names = 40) {
    return biffStream(rosterBook(names));
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

void put16(QByteArray& b, size_t at, uint16_t v) {
    xls::put16(b.data() + at, v);
}

void put32(QByteArray& b, size_t at, uint32_t v) {
    xls::put32(b.data() + at, v);
}

QByteArray cfb(const QByteArray& stream, const char* name = "Workbook") {
    return compoundFileBytes(stream, QString::fromLatin1(name));
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
                put32(file, at, next(i * 128 + k));
            }
        }
    }
    return file;
}

}  // namespace

class TestBrokenFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void refusals_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<ErrorKind>("reading");
        QTest::addColumn<ErrorKind>("editing");
        const auto row = [](const char* name, const QByteArray& file, ErrorKind reading,
                            std::optional<ErrorKind> editing = std::nullopt) {
            QTest::newRow(name) << file << reading << editing.value_or(reading);
        };
        const ErrorKind corrupt = ErrorKind::Corrupt;
        const QByteArray big = workbookFileBytes(rosterBook(2000));
        row("chains loop", withFat(big, [](uint32_t s) { return s; }), corrupt);
        row("chains run past the end", withFat(big, [](uint32_t) { return 0x00FFFFF0u; }), corrupt);
        row("container cut in half", big.left(big.size() / 2), corrupt);
        row("only the header", big.left(512), corrupt);
        QByteArray cell = rosterStream();
        put16(cell, recordsOf(cell, rec::LabelSst).back() + 2, 0xFFF0);
        row("cell record longer than the stream", cfb(cell), corrupt);
        QByteArray window = rosterStream();
        put16(window, recordsOf(window, rec::Window1).front() + 2, 0xFFF0);
        row("globals record longer than the stream", cfb(window), corrupt);
        QByteArray sst = rosterStream();
        put16(sst, recordsOf(sst, rec::Sst).front() + 12, 60000);  // first string's cch
        row("string longer than its table", cfb(sst), corrupt);
        QByteArray noBof = rosterStream();
        put16(noBof, 0, 0x1234);
        row("stream without BOF", cfb(noBof), corrupt);
        QByteArray chart = rosterStream();
        chart[qsizetype(recordsOf(chart, rec::BoundSheet)[1] + 4 + 5)] = 2;
        row("chart sheet opens", cfb(chart), ErrorKind::NoSheet, ErrorKind::NoSheetToWrite);
        row("encrypted xlsx", cfb("x", "EncryptedPackage"), ErrorKind::PasswordProtected);
        const ErrorKind other = ErrorKind::NotAWorkbook;
        row("empty file", QByteArray(), other);
        row("Word document", cfb("x", "WordDocument"), other);
        row("zip of nothing", QByteArray("PK\x03\x04rest", 8), corrupt);
    }

    void refusals() {
        QFETCH(QByteArray, file);
        QFETCH(ErrorKind, reading);
        QFETCH(ErrorKind, editing);
        const Result<Workbook> read = Workbook::fromBytes(file);
        const Result<xlsedit::EditableWorkbook> edit = xlsedit::EditableWorkbook::fromBytes(file);
        QVERIFY(!read);
        QVERIFY(!edit);
        QCOMPARE(read.error().kind, reading);
        QCOMPARE(edit.error().kind, editing);
        for (const Error* e : {&read.error(), &edit.error()}) {
            QVERIFY(!e->detail.isEmpty() || e->content != FileKind::Unknown);
        }
    }

    void lenientReadings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("activeSheet");
        QByteArray stream = rosterStream();
        QTest::newRow("stream name in capitals") << cfb(stream, "WORKBOOK") << "名单";
        QTest::newRow("BIFF8 stream named Book") << cfb(stream, "Book") << "名单";
        QByteArray count = rosterStream();
        put32(count, recordsOf(count, rec::Sst).front() + 8, 100000);  // unique count
        QTest::newRow("wrong shared string count") << cfb(count) << "名单";
        QByteArray offset = rosterStream();
        put32(offset, recordsOf(offset, rec::BoundSheet)[1] + 4, 0x00FFFFFF);
        QTest::newRow("sheet offset misses") << cfb(offset) << "名单";
        QByteArray tab = rosterStream();
        put16(tab, recordsOf(tab, rec::Window1).front() + 4 + 10, 9);
        QTest::newRow("active tab out of range") << cfb(tab) << "说明";
        QTest::newRow("junk after the last EOF")
            << cfb(rosterStream() + QByteArray(3000, '\x7F')) << "名单";
        const QByteArray file = workbookFileBytes(rosterBook(2000));
        QTest::newRow("last sector cut short") << file.left(file.size() - 200) << "名单";
    }

    // Editing takes them too: it starts from the same reading of the records.
    void lenientReadings() {
        QFETCH(QByteArray, file);
        QFETCH(QString, activeSheet);
        const Result<Workbook> book = Workbook::fromBytes(file);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), activeSheet);
        if (activeSheet == QStringLiteral("名单")) {
            QCOMPARE(book->cell(3, 1).text, QStringLiteral("姓名0"));
        }
        const Result<xlsedit::EditableWorkbook> edit = xlsedit::EditableWorkbook::fromBytes(file);
        QVERIFY2(edit, qPrintable(failure(edit)));
        QCOMPARE(edit->activeSheetName(), activeSheet);
    }
};

QTEST_GUILESS_MAIN(TestBrokenFiles)
#include "TestBrokenFiles.moc"
