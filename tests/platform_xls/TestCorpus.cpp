// Real files against independent readings of them. Corpus workbooks (tests/data/workbooks):
// the sheet that opens and every cell of it as xlrd reads it now, through the text rules; where
// only LibreOffice reads the file, column A as it shows it; files that are no workbook we read
// are refused with the right kind of error. Rosters as systems hand them out under a workbook's
// name (tests/data/rosters: HTML, XML Spreadsheet 2003, CSV): text against Python's csv module,
// the rest against LibreOffice Calc; a table below says where the rules part from them and why.
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"
#include "support/Files.h"
#include "support/TestData.h"
#include "support/XlrdDump.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <map>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

using Column = std::map<int, QString>;  // row -> text; a null text: some value, not compared

const QString ErrorCell = QStringLiteral("<error>");

QJsonObject answerFor(const QString& folder, const QString& file) {
    const QString answer = QStringLiteral("%1/expected/%2.json").arg(folder, file);
    return QJsonDocument::fromJson(fileBytes(answer)).object();
}

void addFiles(const QString& folder, qsizetype atLeast) {
    QTest::addColumn<QString>("name");
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.xls")}, QDir::Files);
    QVERIFY(files.size() >= atLeast);
    for (const QString& f : files) {
        QTest::newRow(qPrintable(f)) << f;
    }
}

void compareColumnA(const Workbook& book, const Column& want) {
    for (int row = 1; row <= 2010; ++row) {
        const QString got = valueAsText(book.cell(row, 1)).value_or(ErrorCell);
        const auto w = want.find(row);
        const QString expected = w == want.end() ? QString() : w->second.isNull() ? got : w->second;
        QCOMPARE(QStringLiteral("%1 ").arg(row) + got, QStringLiteral("%1 ").arg(row) + expected);
        QVERIFY2(w == want.end() || !got.isEmpty(), qPrintable(QString::number(row)));
    }
}

// The kind of error a corpus file must be refused with, by what the reference says it is.
std::optional<ErrorKind> refusalFor(const QJsonObject& e) {
    const QString format = e[u"format"].toString();
    static const std::map<QString, ErrorKind> byFormat = {
        {"unknown", ErrorKind::NotAWorkbook},
        {"broken-cfb", ErrorKind::Corrupt},
        {"ooxml-encrypted-cfb", ErrorKind::PasswordProtected}};
    if (const auto it = byFormat.find(format); it != byFormat.end()) {
        return it->second;
    }
    if (format.startsWith(u"biff") && format.endsWith(u"-raw")) {
        return ErrorKind::UnsupportedFormat;  // a bare BIFF stream, no container
    }
    const bool encrypted = !e[u"format_detail"][u"filepass"].isUndefined();
    if (encrypted && !e[u"libreoffice"][u"ok"].toBool()) {
        return ErrorKind::PasswordProtected;  // a password of the user's
    }
    return std::nullopt;
}

// Where the program and xlrd part: numbers formatted as elapsed time ([h], [ss] ...) are times
// to the program, numbers to xlrd. These rows of the files hold them.
const std::map<QString, QSet<int>> xlrdDiffers = {
    {"sheetjs_LONumbers.xls", {15, 16, 17, 24, 25}},
    {"sheetjs_LONumbers-2011.xls", {15, 16, 17, 24, 25}}};

// Every cell of the sheet that opens, ours against xlrd's put through the text rules (dates
// xlrd counts in the workbook's date system); empty texts are empty cells.
void compareWithXlrd(const Workbook& book, const XlrdSheet& sheet, bool date1904,
                     const QSet<int>& skip) {
    QMap<QPair<int, int>, QString> want, got;
    for (auto it = sheet.cells.begin(); it != sheet.cells.end(); ++it) {
        CellValue v;
        const QJsonValue value = it.value()[1];
        v.kind = std::array{CellValue::Kind::Empty, CellValue::Kind::Text, CellValue::Kind::Number,
                            CellValue::Kind::Date,  CellValue::Kind::Bool, CellValue::Kind::Error,
                            CellValue::Kind::Empty}[it.value()[0].toInt()];
        v.text = value.toString();
        v.number = value.toDouble() + (v.kind == CellValue::Kind::Date && date1904 ? 1462 : 0);
        v.boolean = value.toInt() != 0;
        want[it.key()] = valueAsText(v).value_or(ErrorCell);
    }
    for (size_t i = 0; i < book.cells().size(); ++i) {
        const QPair<int, int> at(int(book.cells().rowAt(i)) - 1, int(book.cells().colAt(i)) - 1);
        got[at] = valueAsText(book.cells().valueAt(i)).value_or(ErrorCell);
    }
    want.removeIf([](const auto& cell) { return cell.value().isEmpty(); });
    got.removeIf([](const auto& cell) { return cell.value().isEmpty(); });
    for (const auto& at : QSet<QPair<int, int>>(want.keyBegin(), want.keyEnd()) +
                              QSet<QPair<int, int>>(got.keyBegin(), got.keyEnd())) {
        const QString cell = cellName(at.first + 1, at.second + 1) + QLatin1Char(' ');
        if (!skip.contains(at.first + 1)) {
            QCOMPARE(cell + got.value(at), cell + want.value(at));
        }
    }
}

// LibreOffice shows numbers formatted, and turns number- and date-looking text of text files
// into values: there only text cells of other files are compared as written.
Column libreOfficeColumn(const Workbook& book, const QJsonObject& lo, bool sameText) {
    QJsonValue col = lo[u"active_sheet_csv_col_a"];
    if (col.isUndefined()) {
        // A text file's one sheet is named after the file there.
        const QJsonObject bySheet = lo[u"col_a_by_sheet"].toObject();
        col = bySheet.size() == 1 ? *bySheet.begin() : bySheet[book.activeSheetName()];
    }
    Column want;
    const QJsonArray shown = col.toArray();
    for (int row = 1; row <= shown.size(); ++row) {
        if (!shown[row - 1].toString().isEmpty()) {
            const bool text = book.cell(row, 1).kind == CellValue::Kind::Text && sameText;
            want[row] = text ? shown[row - 1].toString() : QString();
        }
    }
    return want;
}

struct Deviation {
    bool otherFilter = false;  // LibreOffice's second filter reads the file as the rules do
    int skipRows = 0;          // the reading shows rows the program does not
    Column rows{};
};

// Where the rules and the roster readings part.
const std::map<QString, Deviation> deviations = {
    // <br> and paragraphs are line breaks inside the cell, as a browser shows them.
    {"made_line_breaks.html.xls", {.otherFilter = true}},
    // The declared GB2312 is read as GBK, as its writers meant (the picked filter reads UTF-8).
    {"made_gb2312_decl.xml.xls", {.otherFilter = true}},
    // A page labelled gb2312 holds GBK characters: browsers read them, LibreOffice garbles.
    {"made_gb2312_label_gbk_chars.html.xls",
     {.rows = {{3, "王喆"}, {4, "李堃"}, {5, "张玥"}, {6, "陈镕"}, {7, "刘昇"}, {8, "赵琇"}}}},
    // "sep=;" names the separator and is not a row, as in the spreadsheet program it is for.
    {"made_sep_hint.csv.xls", {.skipRows = 1}},
    // Stored values, not shown texts: 7 formatted 000, dates in the program's date text,
    // Boolean cells (shown empty by LibreOffice) and an error value.
    {"made_types.xml.xls",
     {.rows = {{4, "7"},
               {8, "1.23456789012346E+19"},
               {10, "2024/3/1"},
               {11, "2024/3/1 8:30:00"},
               {12, "True"},
               {13, "False"},
               {18, ErrorCell},
               {19, ErrorCell}}}},
};

// A roster's column A as its reading gives it, with the deviations applied.
Column rosterColumn(const QJsonObject& answer, const Deviation& d) {
    const QJsonValue python = answer[u"python_csv"];
    Column want;
    for (const QJsonValue& r : (python.isObject() ? python : answer)[u"column_a"].toArray()) {
        want[r[0].toInt() - d.skipRows] = r[1].toString();
    }
    if (d.otherFilter) {
        for (const QJsonValue& r : answer[u"libreoffice_other_filter"][u"differences"].toArray()) {
            want[r[0].toInt()] = r[2].toString();
        }
    }
    for (const auto& [row, text] : d.rows) {
        want[row] = text;
    }
    std::erase_if(want, [](const auto& r) { return r.second.isEmpty(); });
    return want;
}

}  // namespace

class TestCorpus : public QObject {
    Q_OBJECT

    const QString corpus = test::corpusFile({});
    const QString rosters = test::testData(QStringLiteral("rosters"));

private Q_SLOTS:
    void workbook_data() { addFiles(corpus, 81); }

    void workbook() {
        QFETCH(QString, name);
        const QJsonObject e = answerFor(corpus, name);
        QVERIFY2(!e.isEmpty(), "no expected answer");
        const QString path = corpus + QLatin1Char('/') + name;
        const Result<Workbook> book = Workbook::open(path);
        if (const auto refusal = refusalFor(e)) {
            QVERIFY2(!book, "a file that must be refused was read");
            QCOMPARE(book.error().kind, *refusal);
            if (e[u"format"].toString() == u"biff-raw") {
                // The corpus's bare record streams are Excel 2.x-4.x worksheets, named so.
                QCOMPARE(book.error().content, FileKind::OldBiff);
            }
            QCOMPARE(book.error().file, path);
            QVERIFY(!book.error().detail.isEmpty() || book.error().content != FileKind::Unknown);
            return;
        }
        QVERIFY2(book, qPrintable(failure(book)));
        const QJsonObject xlrd = e[u"xlrd"].toObject();
        if (!xlrd[u"ok"].toBool()) {
            const QJsonObject lo = e[u"libreoffice"].toObject();
            QVERIFY(lo[u"ok"].toBool());
            const bool text = e[u"format"].toString().startsWith(u"text");
            compareColumnA(*book, libreOfficeColumn(*book, lo, !text));
            return;
        }
        QCOMPARE(book->activeSheetName(), e[u"active_sheet"][u"name"].toString());
        const XlrdBook now = readWithXlrd(path);
        QVERIFY2(now.error.isEmpty(), qPrintable(now.error));
        compareWithXlrd(*book, *now.sheet(book->activeSheetName()), xlrd[u"datemode"].toInt() == 1,
                        xlrdDiffers.count(name) ? xlrdDiffers.at(name) : QSet<int>());
    }

    void roster_data() { addFiles(rosters, 50); }

    void roster() {
        QFETCH(QString, name);
        const QJsonObject answer = answerFor(rosters, name);
        QVERIFY2(!answer.isEmpty(), "no reading beside the file");
        const Result<Workbook> book = Workbook::open(rosters + QLatin1Char('/') + name);
        QVERIFY2(book, qPrintable(failure(book)));
        const QString format = answer[u"format"].toString();
        QCOMPARE(book->formatName(), format.startsWith(u"text-") ? QStringLiteral("csv") : format);
        const Deviation d = deviations.count(name) ? deviations.at(name) : Deviation();
        if (book->format() == WorkbookFormat::Xml2003) {
            QCOMPARE(book->activeSheetName(),
                     d.otherFilter ? answer[u"libreoffice_other_filter"][u"opened_sheet"].toString()
                                   : answer[u"active_sheet"].toString());
        }
        compareColumnA(*book, rosterColumn(answer, d));
    }
};

QTEST_GUILESS_MAIN(TestCorpus)
#include "TestCorpus.moc"
