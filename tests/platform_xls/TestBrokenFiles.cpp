// Damaged and unusual files: a refusal with a clear reason where the data is not whole
// (looping or overrunning sector chains, records longer than their stream, strings longer than
// their table), and a good reading where other readers are lenient and the data is whole.
#include "platform/xls/BiffStream.h"
#include "platform/xls/BiffWriter.h"
#include "platform/xls/Workbook.h"
#include "platform/xls/WorkbookWriter.h"

#include <QTest>

#include <functional>

using namespace sortilo;
using namespace sortilo::xls;

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
    return biffStream(rosterBook(names), WriteOptions{});
}

// Stream offsets of the records of a type, in order.
std::vector<size_t> recordsOf(const QByteArray& stream, uint16_t type) {
    std::vector<size_t> at;
    RecordReader reader(reinterpret_cast<const uint8_t*>(stream.constData()),
                        size_t(stream.size()));
    Record r;
    while (reader.next(r)) {
        if (r.type == type) {
            at.push_back(r.offset);
        }
    }
    return at;
}

void put16(QByteArray& b, size_t at, uint16_t v) {
    b[qsizetype(at)] = char(v & 0xFF);
    b[qsizetype(at + 1)] = char(v >> 8);
}

void put32(QByteArray& b, size_t at, uint32_t v) {
    put16(b, at, uint16_t(v & 0xFFFF));
    put16(b, at + 2, uint16_t(v >> 16));
}

// Rewrites every FAT entry of a compound file that continues a chain.
QByteArray withFat(QByteArray file, const std::function<uint32_t(uint32_t sector)>& next) {
    const auto* p = reinterpret_cast<const uint8_t*>(file.constData());
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
        QTest::addColumn<int>("problem");
        const auto corrupt = int(SheetProblem::Corrupt);
        const QByteArray big = workbookFileBytes(rosterBook(2000));
        QTest::newRow("chains loop") << withFat(big, [](uint32_t s) { return s; }) << corrupt;
        QTest::newRow("chains run past the end")
            << withFat(big, [](uint32_t) { return 0x00FFFFF0u; }) << corrupt;
        QTest::newRow("container cut in half") << big.left(big.size() / 2) << corrupt;
        QTest::newRow("only the header") << big.left(512) << corrupt;

        QByteArray cell = rosterStream();
        put16(cell, recordsOf(cell, rec::LabelSst).back() + 2, 0xFFF0);
        QTest::newRow("cell record longer than the stream")
            << compoundFileBytes(cell, "Workbook") << corrupt;
        QByteArray window = rosterStream();
        put16(window, recordsOf(window, rec::Window1).front() + 2, 0xFFF0);
        QTest::newRow("globals record longer than the stream")
            << compoundFileBytes(window, "Workbook") << corrupt;
        QByteArray sst = rosterStream();
        put16(sst, recordsOf(sst, rec::Sst).front() + 12, 60000);  // first string's cch
        QTest::newRow("string longer than its table")
            << compoundFileBytes(sst, "Workbook") << corrupt;
        QByteArray noBof = rosterStream();
        put16(noBof, 0, 0x1234);
        QTest::newRow("stream without BOF") << compoundFileBytes(noBof, "Workbook") << corrupt;

        QTest::newRow("empty file") << QByteArray() << int(SheetProblem::NotAWorkbook);
        QTest::newRow("BIFF3 worksheet") << QByteArray::fromHex("090206000000100000000000")
                                         << int(SheetProblem::UnsupportedFormat);
        QTest::newRow("BIFF4 worksheet") << QByteArray::fromHex("090406000000100000000000")
                                         << int(SheetProblem::UnsupportedFormat);
        QTest::newRow("BMP picture")
            << QByteArray("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00\x00\x00\x28\x00", 16)
            << int(SheetProblem::NotAWorkbook);
        QTest::newRow("encrypted xlsx")
            << compoundFileBytes("x", "EncryptedPackage") << int(SheetProblem::PasswordProtected);
        QTest::newRow("Word document")
            << compoundFileBytes("x", "WordDocument") << int(SheetProblem::NotAWorkbook);
        QTest::newRow("CSV") << QByteArray("姓名,年龄\n张三,20\n")
                             << int(SheetProblem::NotAWorkbook);
        QTest::newRow("HTML") << QByteArray("\xEF\xBB\xBF <!DOCTYPE html><html><table>")
                              << int(SheetProblem::NotAWorkbook);
        QTest::newRow("XML 2003") << QByteArray(
                                         "<?xml version=\"1.0\"?><Workbook "
                                         "xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\">")
                                  << int(SheetProblem::NotAWorkbook);
        QByteArray chart = rosterStream();
        chart[qsizetype(recordsOf(chart, rec::BoundSheet)[1] + 4 + 5)] = 2;
        QTest::newRow("chart sheet active")
            << compoundFileBytes(chart, "Workbook") << int(SheetProblem::NoSheet);
    }

    void refusals() {
        QFETCH(QByteArray, file);
        QFETCH(int, problem);
        SheetError error;
        QVERIFY(!Workbook::fromBytes(file, error));
        QCOMPARE(int(error.problem), problem);
        QVERIFY(!error.detail.isEmpty());
    }

    void lenientReadings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("activeSheet");
        QByteArray stream = rosterStream();
        QTest::newRow("stream name in capitals") << compoundFileBytes(stream, "WORKBOOK") << "名单";
        QTest::newRow("BIFF8 stream named Book") << compoundFileBytes(stream, "Book") << "名单";
        QByteArray count = rosterStream();
        put32(count, recordsOf(count, rec::Sst).front() + 8, 100000);  // unique count
        QTest::newRow("wrong shared string count")
            << compoundFileBytes(count, "Workbook") << "名单";
        QByteArray offset = rosterStream();
        put32(offset, recordsOf(offset, rec::BoundSheet)[1] + 4, 0x00FFFFFF);
        QTest::newRow("sheet offset misses") << compoundFileBytes(offset, "Workbook") << "名单";
        QByteArray tab = rosterStream();
        put16(tab, recordsOf(tab, rec::Window1).front() + 4 + 10, 9);
        QTest::newRow("active tab out of range") << compoundFileBytes(tab, "Workbook") << "说明";
        QByteArray junk = rosterStream() + QByteArray(3000, '\x7F');
        QTest::newRow("junk after the last EOF") << compoundFileBytes(junk, "Workbook") << "名单";
        const QByteArray file = workbookFileBytes(rosterBook(2000));
        QTest::newRow("last sector cut short") << file.left(file.size() - 200) << "名单";
    }

    void lenientReadings() {
        QFETCH(QByteArray, file);
        QFETCH(QString, activeSheet);
        SheetError error;
        const auto book = Workbook::fromBytes(file, error);
        QVERIFY2(book, qPrintable(error.detail));
        QCOMPARE(book->activeSheetName(), activeSheet);
        if (activeSheet == QStringLiteral("名单")) {
            QCOMPARE(book->cell(3, 1).text, QStringLiteral("姓名0"));
        }
    }
};

QTEST_GUILESS_MAIN(TestBrokenFiles)
#include "TestBrokenFiles.moc"
