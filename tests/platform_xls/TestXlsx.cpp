// An .xlsx workbook saved under the .xls name (users do this): read by content, with the
// active tab, shared and inline strings, rich text without its phonetic runs, numbers, dates by
// number format (also in the 1904 system), booleans, errors and formula results.
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gsf/gsf-outfile-zip.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <map>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

// A zip package with the given parts, written through libgsf.
QByteArray zipOf(const std::map<QString, QByteArray>& parts) {
    gsf_init();
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* zip = gsf_outfile_zip_new(sink, nullptr);
    std::map<QString, GsfOutfile*> dirs;
    for (const auto& [path, data] : parts) {
        GsfOutfile* parent = zip;
        const QStringList names = path.split(QLatin1Char('/'));
        QString prefix;
        for (qsizetype i = 0; i + 1 < names.size(); ++i) {
            prefix += names[i] + QLatin1Char('/');
            auto& dir = dirs[prefix];
            if (!dir) {
                dir =
                    GSF_OUTFILE(gsf_outfile_new_child(parent, names[i].toUtf8().constData(), TRUE));
            }
            parent = dir;
        }
        GsfOutput* part = gsf_outfile_new_child(parent, names.last().toUtf8().constData(), FALSE);
        gsf_output_write(part, size_t(data.size()),
                         reinterpret_cast<const guint8*>(data.constData()));
        gsf_output_close(part);
        g_object_unref(part);
    }
    for (auto it = dirs.rbegin(); it != dirs.rend(); ++it) {
        gsf_output_close(GSF_OUTPUT(it->second));
        g_object_unref(it->second);
    }
    gsf_output_close(GSF_OUTPUT(zip));
    g_object_unref(zip);
    const QByteArray bytes(
        reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink))),
        qsizetype(gsf_output_size(sink)));
    g_object_unref(sink);
    return bytes;
}

const char* const Workbook1904 = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
 xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
<workbookPr date1904="%1"/><bookViews><workbookView activeTab="1"/></bookViews>
<sheets><sheet name="Cover" sheetId="1" r:id="rId1"/><sheet name="名单" sheetId="2" r:id="rId2"/>
<sheet name="Chart" sheetId="3" r:id="rId5"/></sheets></workbook>)";

const char* const BookRels = R"(<?xml version="1.0" encoding="UTF-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>
<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/worksheets/sheet2.xml"/>
<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>
<Relationship Id="rId4" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
<Relationship Id="rId5" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/chartsheet" Target="chartsheets/sheet1.xml"/>
</Relationships>)";

const char* const Strings = R"(<?xml version="1.0" encoding="UTF-8"?>
<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" count="3" uniqueCount="3">
<si><t>张三</t></si>
<si><r><rPr><b/></rPr><t>李</t></r><r><t xml:space="preserve">四 </t></r><rPh sb="0" eb="1"><t>リ</t></rPh></si>
<si><t>a_x000D_b &amp; c</t></si></sst>)";

const char* const Styles = R"(<?xml version="1.0" encoding="UTF-8"?>
<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
<numFmts count="1"><numFmt numFmtId="164" formatCode="yyyy&quot;年&quot;m&quot;月&quot;d&quot;日&quot;"/></numFmts>
<cellStyleXfs count="1"><xf numFmtId="14"/></cellStyleXfs>
<cellXfs count="4"><xf numFmtId="0"/><xf numFmtId="14"/><xf numFmtId="164"/><xf numFmtId="2"/></cellXfs>
</styleSheet>)";

const char* const Sheet2 = R"(<?xml version="1.0" encoding="UTF-8"?>
<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
<row r="1"><c r="A1" t="inlineStr"><is><t>标题</t></is></c><c r="B1" s="3"><v>7</v></c></row>
<row r="3"><c r="A3" t="s"><v>0</v></c></row>
<row r="4"><c r="A4" t="s"><v>1</v></c></row>
<row r="5"><c r="A5"><v>12</v></c><c t="b"><v>1</v></c></row>
<row r="6"><c r="A6" s="1"><v>45292.5</v></c></row>
<row r="7"><c r="A7" s="2"><v>0</v></c></row>
<row r="8"><c r="A8" t="e"><v>#DIV/0!</v></c></row>
<row r="9"><c r="A9" t="str"><f>"x"&amp;"y"</f><v>xy</v></c></row>
<row><c t="b"><v>0</v></c></row>
<row r="11"><c r="A11" t="s"><v>2</v></c><c r="C11" s="1"/></row>
<row r="12"><c r="A12" t="str"><f>""</f><v></v></c></row>
<row r="13"><c r="A13" t="s"><v>99</v></c></row>
</sheetData></worksheet>)";

QByteArray xlsxBytes(bool date1904, int activeTab = 1) {
    QByteArray book = QByteArray(Workbook1904).replace("%1", date1904 ? "1" : "0");
    book.replace("activeTab=\"1\"",
                 QByteArray("activeTab=\"") + QByteArray::number(activeTab) + "\"");
    return zipOf({
        {QStringLiteral("[Content_Types].xml"), "<Types/>"},
        {QStringLiteral("_rels/.rels"),
         R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)"},
        {QStringLiteral("xl/workbook.xml"), book},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), BookRels},
        {QStringLiteral("xl/sharedStrings.xml"), Strings},
        {QStringLiteral("xl/styles.xml"), Styles},
        {QStringLiteral("xl/worksheets/sheet1.xml"), "<worksheet><sheetData/></worksheet>"},
        {QStringLiteral("xl/worksheets/sheet2.xml"), Sheet2},
        {QStringLiteral("xl/chartsheets/sheet1.xml"), "<chartsheet/>"},
    });
}

QString textAt(const Workbook& book, int row, int col) {
    return valueAsText(book.cell(row, col)).value_or(QStringLiteral("<error>"));
}

}  // namespace

class TestXlsx : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void xlsxUnderXlsName_data() {
        QTest::addColumn<bool>("date1904");
        QTest::newRow("1900 dates") << false;
        QTest::newRow("1904 dates") << true;
    }

    void xlsxUnderXlsName() {
        QFETCH(bool, date1904);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("导入名单.xls"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(xlsxBytes(date1904));
        f.close();
        const Result<Workbook> book = Workbook::open(path);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->format(), WorkbookFormat::Xlsx);
        QCOMPARE(book->activeSheetIndex(), 1);
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(textAt(*book, 1, 1), QStringLiteral("标题"));
        QCOMPARE(textAt(*book, 1, 2), QStringLiteral("7"));  // shown as 7.00, read as 7
        QCOMPARE(textAt(*book, 3, 1), QStringLiteral("张三"));
        QCOMPARE(textAt(*book, 4, 1), QStringLiteral("李四 "));
        QCOMPARE(textAt(*book, 5, 1), QStringLiteral("12"));
        QCOMPARE(textAt(*book, 5, 2), QStringLiteral("True"));
        QCOMPARE(book->cell(6, 1).kind, CellValue::Kind::Date);
        QCOMPARE(textAt(*book, 6, 1), date1904 ? QStringLiteral("2028/1/2 12:00:00")
                                               : QStringLiteral("2024/1/1 12:00:00"));
        QCOMPARE(textAt(*book, 7, 1),
                 date1904 ? QStringLiteral("1904/1/1") : QStringLiteral("0:00:00"));
        QCOMPARE(book->cell(8, 1).kind, CellValue::Kind::Error);
        QCOMPARE(book->cell(8, 1).errorCode, uint8_t(0x07));
        QCOMPARE(textAt(*book, 9, 1), QStringLiteral("xy"));
        QCOMPARE(textAt(*book, 10, 1), QStringLiteral("False"));  // row and cell without r
        QCOMPARE(textAt(*book, 11, 1), QStringLiteral("a\rb & c"));
        QVERIFY(book->cell(11, 3).isEmpty());
        QVERIFY(book->cell(12, 1).isEmpty());
        QVERIFY(book->cell(13, 1).isEmpty());  // a shared string index past the table
        QVERIFY(book->cell(2, 1).isEmpty());
    }

    // A chart sheet that opens has no cells; a tab out of range falls back to the first visible
    // worksheet; zips of other kinds say what they are.
    void sheetThatOpensAndOtherZips() {
        QCOMPARE(Workbook::fromBytes(xlsxBytes(false, 2)).error().kind, ErrorKind::NoSheet);
        QCOMPARE(Workbook::fromBytes(xlsxBytes(false, 9))->activeSheetName(),
                 QStringLiteral("Cover"));
        const QByteArray ods =
            zipOf({{QStringLiteral("mimetype"), "application/vnd.oasis.opendocument.spreadsheet"}});
        QCOMPARE(Workbook::fromBytes(ods).error().content, FileKind::Ods);
        QCOMPARE(
            Workbook::fromBytes(zipOf({{QStringLiteral("readme.txt"), "hello"}})).error().content,
            FileKind::Zip);
    }
};

QTEST_GUILESS_MAIN(TestXlsx)
#include "TestXlsx.moc"
