// The writer of new workbooks (the sample files, test workbooks): what it writes reads back the
// same in our reader and in xlrd, with the chosen sheet active, in BIFF8 and in BIFF5 with GBK
// strings.
#include "WorkbookWriter.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"
#include "support/Files.h"
#include "support/XlrdDump.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <map>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

// Mixed widths and lengths so the shared strings split across CONTINUE records, also inside
// a string and with the width changing at the split.
NewWorkbook mixedBook(int activeSheet) {
    NewSheet roster{QStringLiteral("名单"), {{1, 1, QStringLiteral("抽签名单")}}};
    for (int row = 3; row < 1500; ++row) {
        const QString name =
            row % 3 ? QStringLiteral("姓名%1").arg(row) : QStringLiteral("Name %1").arg(row);
        roster.cells.push_back({row, 1, name});
    }
    roster.cells.push_back(
        {1500, 1, QString(5000, QLatin1Char('x')) + QString(3000, QChar(u'长'))});
    roster.cells.push_back({1501, 1, QString()});
    roster.cells.push_back({1502, 1, QStringLiteral(" ")});
    roster.cells.push_back({2, 3, 12.0});
    roster.cells.push_back({2, 4, -0.5});
    roster.cells.push_back({2, 3, 13.0});  // the later value of a cell wins
    NewSheet other{QStringLiteral("Other"), {{65536, 256, QStringLiteral("corner")}}};
    return {{other, roster, NewSheet{QStringLiteral("Empty"), {}}}, activeSheet};
}

// An Excel 5/95 workbook whose strings are bytes of the code page, as Windows saved them: GBK
// on Chinese Windows, Windows-1252 (where 0x80 is the euro sign) on western.
NewWorkbook biff5Book(int codePage) {
    const bool gbk = codePage == 936;
    NewSheet sheet{gbk ? QStringLiteral("学生名单") : QStringLiteral("Names"), {{2, 2, 7.0}}};
    for (const QString& name : gbk ? QStringList{"张三", "李四", "王小二", "欧阳娜娜", "Tom 汤姆"}
                                   : QStringList{"€5", "Zoë"}) {
        sheet.cells.push_back({int(sheet.cells.size()) + 2, 1, name});
    }
    return {{NewSheet{gbk ? QStringLiteral("说明") : QStringLiteral("About"), {}}, sheet}, 1};
}

}  // namespace

class TestWorkbookWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBack_data() {
        QTest::addColumn<int>("biff");
        QTest::addColumn<int>("active");
        QTest::addColumn<int>("codePage");
        QTest::newRow("first sheet active") << 8 << 0 << 936;
        QTest::newRow("middle sheet active") << 8 << 1 << 936;
        QTest::newRow("last sheet active") << 8 << 2 << 936;
        QTest::newRow("BIFF5, GBK strings") << 5 << 1 << 936;
        QTest::newRow("BIFF5, Windows-1252 strings") << 5 << 1 << 1252;
    }

    // Both readers find the sheets, the selected one, and every cell of it as written.
    void readsBack() {
        QFETCH(int, biff);
        QFETCH(int, active);
        QFETCH(int, codePage);
        const NewWorkbook source = biff == 8 ? mixedBook(active) : biff5Book(codePage);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("roster.xls"));
        QVERIFY(createWorkbook(path, source, {biff, codePage}));
        const bool gbk = biff == 5 && codePage == 936;
        QCOMPARE(fileBytes(path).contains(QByteArray::fromHex("d5c5c8fd")), gbk);  // 张三
        const Result<Workbook> ours = Workbook::open(path);
        QVERIFY2(ours, qPrintable(failure(ours)));
        QCOMPARE(ours->format(), biff == 8 ? WorkbookFormat::Biff8 : WorkbookFormat::Biff5);
        QCOMPARE(ours->activeSheetIndex(), active);
        const XlrdBook xlrd = readWithXlrd(path);
        QVERIFY2(xlrd.error.isEmpty(), qPrintable(xlrd.error));
        QCOMPARE(xlrd.biff == 80, biff == 8);
        QCOMPARE(ours->sheets().size(), source.sheets.size());
        QCOMPARE(xlrd.sheets.size(), qsizetype(source.sheets.size()));
        for (size_t s = 0; s < source.sheets.size(); ++s) {
            QCOMPARE(ours->sheets()[s].name, source.sheets[s].name);
            QCOMPARE(xlrd.sheets[qsizetype(s)].name, source.sheets[s].name);
            QCOMPARE(xlrd.sheets[qsizetype(s)].selected, int(s) == active);
        }
        std::map<std::pair<int, int>, std::variant<QString, double>> written;
        for (const NewCell& c : source.sheets[size_t(active)].cells) {
            written[{c.row, c.column}] = c.value;
        }
        const XlrdSheet& shown = xlrd.sheets[active];
        for (const auto& [at, value] : written) {
            const CellValue v = ours->cell(at.first, at.second);
            const QJsonArray x = shown.cells.value({at.first - 1, at.second - 1});
            if (const QString* text = std::get_if<QString>(&value)) {
                QCOMPARE(v.text, *text);
                QCOMPARE(v.isEmpty(), text->isEmpty());
                QCOMPARE(x.isEmpty() ? QString() : x[1].toString(), *text);
            } else {
                QCOMPARE(v.number, std::get<double>(value));
                QCOMPARE(x[1].toDouble(), std::get<double>(value));
            }
        }
        QCOMPARE(ours->cells().size(), written.size());
        QCOMPARE(size_t(shown.cells.size()), written.size());
    }

    void failedWriteLeavesFileAlone() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("missing-folder/roster.xls"));
        const Result<void> written = createWorkbook(path, mixedBook(0));
        QCOMPARE(written.error().kind, ErrorKind::NotSaved);
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_GUILESS_MAIN(TestWorkbookWriter)
#include "TestWorkbookWriter.moc"
