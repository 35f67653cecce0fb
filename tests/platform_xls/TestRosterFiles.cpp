// Rosters as systems hand them out under a workbook's name (HTML tables, XML Spreadsheet 2003,
// CSV text) against the independent readings kept beside them: column A, rows 1-2010, of the
// sheet that opens. Text files are compared with Python's csv module (fields as written), the
// rest with LibreOffice Calc; where the program's rules differ from the reading, the table below
// says which rows and why.
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"
#include "support/Failure.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <map>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

QString rosterDir() {
    return sortilo::test::testData(QStringLiteral("rosters"));
}

const QString ErrorCell = QStringLiteral("<error>");

struct Deviation {
    bool otherFilter = false;  // LibreOffice's second filter reads the file as the rules do
    int skipRows = 0;          // the reading shows rows the program does not
    std::map<int, QString> rows;
};

// Where the rules and the readings part.
const std::map<QString, Deviation>& deviations() {
    static const std::map<QString, Deviation> table = {
        // <br> and paragraphs are line breaks inside the cell, as a browser shows them.
        {QStringLiteral("made_line_breaks.html.xls"), {true, 0, {}}},
        // The declared GB2312 is read as GBK, as its writers meant (the picked filter reads UTF-8).
        {QStringLiteral("made_gb2312_decl.xml.xls"), {true, 0, {}}},
        // A page labelled gb2312 holds GBK characters: browsers read them, LibreOffice garbles.
        {QStringLiteral("made_gb2312_label_gbk_chars.html.xls"),
         {false,
          0,
          {{3, QStringLiteral("王喆")},
           {4, QStringLiteral("李堃")},
           {5, QStringLiteral("张玥")},
           {6, QStringLiteral("陈镕")},
           {7, QStringLiteral("刘昇")},
           {8, QStringLiteral("赵琇")}}}},
        // "sep=;" names the separator and is not a row, as in the spreadsheet program it is for.
        {QStringLiteral("made_sep_hint.csv.xls"), {false, 1, {}}},
        // Stored values, not shown texts: 7 formatted 000, dates in the program's date text,
        // Boolean cells (shown empty by LibreOffice) and an error value.
        {QStringLiteral("made_types.xml.xls"),
         {false,
          0,
          {{4, QStringLiteral("7")},
           {8, QStringLiteral("1.23456789012346E+19")},
           {10, QStringLiteral("2024/3/1")},
           {11, QStringLiteral("2024/3/1 8:30:00")},
           {12, QStringLiteral("True")},
           {13, QStringLiteral("False")},
           {18, ErrorCell},
           {19, ErrorCell}}}},
    };
    return table;
}

QJsonObject answerFor(const QString& file) {
    QFile f(rosterDir() + QStringLiteral("/expected/") + file + QStringLiteral(".json"));
    return f.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(f.readAll()).object()
                                       : QJsonObject();
}

// Column A as the reading gives it, with the deviations applied.
std::map<int, QString> expectedColumn(const QString& file, const QJsonObject& answer) {
    const Deviation d = deviations().count(file) ? deviations().at(file) : Deviation();
    const QJsonValue python = answer[QStringLiteral("python_csv")];
    const QJsonArray rows =
        (python.isObject() ? python : answer)[QStringLiteral("column_a")].toArray();
    std::map<int, QString> want;
    for (const QJsonValue& r : rows) {
        want[r[0].toInt() - d.skipRows] = r[1].toString();
    }
    if (d.otherFilter) {
        for (const QJsonValue& r :
             answer[QStringLiteral("libreoffice_other_filter")][QStringLiteral("differences")]
                 .toArray()) {
            want[r[0].toInt()] = r[2].toString();
        }
    }
    for (const auto& [row, text] : d.rows) {
        want[row] = text;
    }
    return want;
}

const std::map<QString, QString> formatNames = {
    {QStringLiteral("html"), QStringLiteral("html")},
    {QStringLiteral("xml2003"), QStringLiteral("xml2003")},
    {QStringLiteral("text-csv"), QStringLiteral("csv")},
    {QStringLiteral("text-tsv"), QStringLiteral("csv")}};

}  // namespace

class TestRosterFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void columnA_data() {
        QTest::addColumn<QString>("name");
        const QStringList files = QDir(rosterDir()).entryList({QStringLiteral("*.xls")});
        QVERIFY(files.size() >= 50);
        for (const QString& f : files) {
            QTest::newRow(qPrintable(f)) << f;
        }
    }

    void columnA() {
        QFETCH(QString, name);
        const QJsonObject answer = answerFor(name);
        QVERIFY2(!answer.isEmpty(), "no reading beside the file");
        const Result<Workbook> book = Workbook::open(rosterDir() + QLatin1Char('/') + name);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->formatName(), formatNames.at(answer[QStringLiteral("format")].toString()));
        if (book->format() == WorkbookFormat::Xml2003) {
            const bool other = deviations().count(name) && deviations().at(name).otherFilter;
            QCOMPARE(book->activeSheetName(),
                     other ? answer[QStringLiteral("libreoffice_other_filter")]
                                   [QStringLiteral("opened_sheet")]
                                       .toString()
                           : answer[QStringLiteral("active_sheet")].toString());
        }
        const std::map<int, QString> want = expectedColumn(name, answer);
        for (int row = 1; row <= 2010; ++row) {
            const auto w = want.find(row);
            const QString got = valueAsText(book->cell(row, 1)).value_or(ErrorCell);
            QCOMPARE(QStringLiteral("%1 ").arg(row) + got,
                     QStringLiteral("%1 ").arg(row) + (w == want.end() ? QString() : w->second));
        }
    }
};

QTEST_GUILESS_MAIN(TestRosterFiles)
#include "TestRosterFiles.moc"
