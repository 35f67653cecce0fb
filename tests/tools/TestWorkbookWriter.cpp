// The writer of new workbooks (the sample files, test workbooks): what it writes reads back the
// same in our reader and in xlrd, with the chosen sheet active, in BIFF8 and in BIFF5 with GBK
// strings.
#include "WorkbookWriter.h"
#include "platform/xls/Biff.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

// Mixed widths and lengths so the shared strings split across CONTINUE records, also inside
// a string and with the width changing at the split.
NewWorkbook mixedBook(int activeSheet) {
    NewSheet roster{QStringLiteral("名单"), {}};
    roster.cells.push_back({1, 1, QStringLiteral("抽签名单")});
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
    NewSheet empty{QStringLiteral("Empty"), {}};
    NewWorkbook book;
    book.sheets = {other, roster, empty};
    book.activeSheet = activeSheet;
    return book;
}

// xlrd's reading of a file: sheet names, the selected sheet flags and the cells of sheet 1.
QJsonObject readWithXlrd(const QString& path) {
    const QString script = QStringLiteral(
        "import json, sys, xlrd\n"
        "b = xlrd.open_workbook(sys.argv[1], formatting_info=True)\n"
        "s = b.sheet_by_index(1)\n"
        "cells = [[r + 1, c + 1, s.cell_value(r, c)] for r in range(s.nrows) for c in "
        "range(s.ncols)\n"
        "         if s.cell_type(r, c) != xlrd.XL_CELL_EMPTY]\n"
        "print(json.dumps({'names': b.sheet_names(), 'selected': [x.sheet_selected for x in "
        "b.sheets()],\n"
        "                  'biff': b.biff_version, 'cells': cells}))\n");
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, path});
    if (!p.waitForFinished(60000) || p.exitCode() != 0) {
        return {{QStringLiteral("error"), QString::fromUtf8(p.readAllStandardError())}};
    }
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

bool xlrdAvailable() {
    QProcess p;
    p.start(QStringLiteral("/usr/bin/python3"),
            {QStringLiteral("-c"), QStringLiteral("import xlrd")});
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

class TestWorkbookWriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void readsBackInOurReader_data() {
        QTest::addColumn<int>("active");
        QTest::newRow("first sheet active") << 0;
        QTest::newRow("middle sheet active") << 1;
        QTest::newRow("last sheet active") << 2;
    }

    void readsBackInOurReader() {
        QFETCH(int, active);
        const NewWorkbook source = mixedBook(active);
        const Result<Workbook> book = Workbook::fromBytes(workbookFileBytes(source));
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->format(), WorkbookFormat::Biff8);
        QCOMPARE(book->activeSheetIndex(), active);
        QCOMPARE(book->sheets().size(), size_t(3));
        QCOMPARE(book->sheets()[1].name, QStringLiteral("名单"));
        if (active != 1) {
            return;
        }
        for (const NewCell& c : source.sheets[1].cells) {
            const CellValue v = book->cell(c.row, c.column);
            if (const QString* text = std::get_if<QString>(&c.value)) {
                QCOMPARE(v.text, *text);
            }
        }
        QCOMPARE(book->cell(2, 3).number, 13.0);
        QCOMPARE(book->cell(2, 4).number, -0.5);
        QVERIFY(book->cell(1501, 1).isEmpty());
        QCOMPARE(book->cell(1502, 1).text, QStringLiteral(" "));
    }

    void readsBackInXlrd() {
        if (!xlrdAvailable()) {
            QSKIP("xlrd is not installed for /usr/bin/python3");
        }
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("roster.xls"));
        const NewWorkbook source = mixedBook(1);
        QVERIFY(createWorkbook(path, source));
        const QJsonObject x = readWithXlrd(path);
        QVERIFY2(!x.contains(QStringLiteral("error")),
                 qPrintable(x[QStringLiteral("error")].toString()));
        QCOMPARE(x[QStringLiteral("biff")].toInt(), 80);
        QCOMPARE(
            x[QStringLiteral("names")].toArray(),
            QJsonArray({QStringLiteral("Other"), QStringLiteral("名单"), QStringLiteral("Empty")}));
        QCOMPARE(x[QStringLiteral("selected")].toArray(), QJsonArray({0, 1, 0}));
        const Result<Workbook> ours = Workbook::open(path);
        QVERIFY(ours);
        int compared = 0;
        for (const QJsonValue& cell : x[QStringLiteral("cells")].toArray()) {
            const QJsonArray c = cell.toArray();
            const CellValue v = ours->cell(c[0].toInt(), c[1].toInt());
            if (c[2].isString()) {
                QCOMPARE(v.text, c[2].toString());
            } else {
                QCOMPARE(v.number, c[2].toDouble());
            }
            ++compared;
        }
        QCOMPARE(compared, int(ours->cells().size()));
    }

    // An Excel 5/95 workbook whose strings are GBK bytes, as Chinese Windows saved them.
    void gbkBiff5() {
        NewSheet sheet{QStringLiteral("学生名单"), {}};
        const QStringList names{QStringLiteral("张三"), QStringLiteral("李四"),
                                QStringLiteral("王小二"), QStringLiteral("欧阳娜娜"),
                                QStringLiteral("Tom 汤姆")};
        for (int i = 0; i < names.size(); ++i) {
            sheet.cells.push_back({i + 3, 1, names[i]});
        }
        NewWorkbook source;
        source.sheets = {NewSheet{QStringLiteral("说明"), {}}, sheet};
        source.activeSheet = 1;
        WriteOptions options;
        options.biffVersion = 5;
        options.codePage = 936;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gbk.xls"));
        QVERIFY(createWorkbook(path, source, options));
        QFile raw(path);
        QVERIFY(raw.open(QIODevice::ReadOnly));
        QVERIFY(raw.readAll().contains(QByteArray::fromHex("d5c5c8fd")));  // 张三 in GBK
        const Result<Workbook> book = Workbook::open(path);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->format(), WorkbookFormat::Biff5);
        QCOMPARE(book->activeSheetName(), QStringLiteral("学生名单"));
        for (int i = 0; i < names.size(); ++i) {
            QCOMPARE(book->cell(i + 3, 1).text, names[i]);
        }
        if (xlrdAvailable()) {
            const QJsonObject x = readWithXlrd(path);
            QVERIFY(x[QStringLiteral("biff")].toInt() < 80);  // Excel 5 or 95
            QCOMPARE(x[QStringLiteral("names")].toArray()[1].toString(),
                     QStringLiteral("学生名单"));
            QCOMPARE(x[QStringLiteral("cells")].toArray()[0].toArray()[2].toString(), names[0]);
        }
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
