// Every workbook of the corpus against the independent readers' answers beside it: where
// xlrd read the file, the sheet that opens and its column A (rows 1-2010) equal xlrd's cells
// put through the text rules; where only LibreOffice read it (also HTML, XML Spreadsheet 2003 and
// text), our text cells equal its column A; a file that is no workbook we read is refused with
// the right kind of error.
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

QString corpusDir() {
    return sortilo::test::corpusFile({});
}

QJsonObject expectedFor(const QString& file) {
    QFile f(corpusDir() + QStringLiteral("/expected/") + file + QStringLiteral(".json"));
    if (!f.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QJsonDocument::fromJson(f.readAll()).object();
}

// The kind of error a file must be refused with, by what the reference says it is.
std::optional<ErrorKind> refusalFor(const QJsonObject& e) {
    const QString format = e[QStringLiteral("format")].toString();
    static const std::map<QString, ErrorKind> byFormat = {
        {QStringLiteral("unknown"), ErrorKind::NotAWorkbook},
        {QStringLiteral("broken-cfb"), ErrorKind::Corrupt},
        {QStringLiteral("ooxml-encrypted-cfb"), ErrorKind::PasswordProtected},
    };
    if (const auto it = byFormat.find(format); it != byFormat.end()) {
        return it->second;
    }
    if (format.startsWith(u"biff") && format.endsWith(u"-raw")) {
        return ErrorKind::UnsupportedFormat;  // a bare BIFF stream, no container
    }
    const bool encrypted =
        !e[QStringLiteral("format_detail")][QStringLiteral("filepass")].isUndefined();
    if (encrypted && !e[QStringLiteral("libreoffice")][QStringLiteral("ok")].toBool()) {
        return ErrorKind::PasswordProtected;  // a password of the user's
    }
    return std::nullopt;
}

// xlrd's cell through our text rules: [row, kind, value, ...] -> (kind, text).
std::pair<QString, QString> xlrdCell(const QJsonArray& c, bool date1904) {
    const QString kind = c[1].toString();
    CellValue v;
    if (kind == QLatin1String("text")) {
        v.kind = CellValue::Kind::Text;
        v.text = c[2].toString();
    } else if (kind == QLatin1String("number") || kind == QLatin1String("date")) {
        v.kind = kind == QLatin1String("date") ? CellValue::Kind::Date : CellValue::Kind::Number;
        v.number = c[2].toDouble() + (v.kind == CellValue::Kind::Date && date1904 ? 1462 : 0);
    } else if (kind == QLatin1String("bool")) {
        v.kind = CellValue::Kind::Bool;
        v.boolean = c[2].toBool();
    } else if (kind == QLatin1String("error")) {
        return {kind, QString()};
    }
    return {kind, valueAsText(v).value_or(QString())};
}

QString kindName(CellValue::Kind k) {
    static const char* names[] = {"empty", "text", "number", "date", "bool", "error"};
    return QString::fromLatin1(names[int(k)]);
}

}  // namespace

class TestCorpus : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY2(QDir(corpusDir()).exists(), "the corpus is not where the build says");
    }

    void file_data() {
        QTest::addColumn<QString>("name");
        const QStringList files =
            QDir(corpusDir()).entryList({QStringLiteral("*.xls")}, QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 81);
        for (const QString& f : files) {
            QTest::newRow(f.toUtf8().constData()) << f;
        }
    }

    void file() {
        QFETCH(QString, name);
        const QJsonObject e = expectedFor(name);
        QVERIFY2(!e.isEmpty(), "no expected answer");
        const QString path = corpusDir() + QLatin1Char('/') + name;
        const Result<Workbook> book = Workbook::open(path);
        if (const auto refusal = refusalFor(e)) {
            QVERIFY2(!book, "a file that must be refused was read");
            QCOMPARE(book.error().kind, *refusal);
            if (e[QStringLiteral("format")].toString() == u"biff-raw") {
                // The corpus's bare record streams are Excel 2.x-4.x worksheets, named so.
                QCOMPARE(book.error().content, FileKind::OldBiff);
            }
            QCOMPARE(book.error().file, path);
            QVERIFY(!book.error().detail.isEmpty() || book.error().content != FileKind::Unknown);
            return;
        }
        QVERIFY2(book, qPrintable(failure(book)));
        const QJsonObject xlrd = e[QStringLiteral("xlrd")].toObject();
        if (xlrd[QStringLiteral("ok")].toBool()) {
            compareWithXlrd(*book, e, xlrd[QStringLiteral("datemode")].toInt() == 1);
        } else {
            QVERIFY(e[QStringLiteral("libreoffice")][QStringLiteral("ok")].toBool());
            // LibreOffice turns number- and date-looking text fields into values; the program
            // keeps them as written (the roster test compares those with Python's csv module).
            const bool text = e[QStringLiteral("format")].toString().startsWith(u"text");
            compareWithLibreOffice(*book, e[QStringLiteral("libreoffice")].toObject(), !text);
        }
    }

private:
    void compareWithXlrd(const Workbook& book, const QJsonObject& e, bool date1904) {
        QCOMPARE(book.activeSheetName(),
                 e[QStringLiteral("active_sheet")][QStringLiteral("name")].toString());
        std::map<int, std::pair<QString, QString>> want;
        for (const QJsonValue& cell :
             e[QStringLiteral("column_a")][QStringLiteral("cells")].toArray()) {
            const QJsonArray c = cell.toArray();
            const auto [kind, text] = xlrdCell(c, date1904);
            if (kind != QLatin1String("empty") &&
                !(kind == QLatin1String("text") && text.isEmpty())) {
                want[c[0].toInt()] = {kind, text};
            }
        }
        for (int row = 1; row <= 2010; ++row) {
            const CellValue v = book.cell(row, 1);
            const auto w = want.find(row);
            if (w == want.end()) {
                QVERIFY2(v.isEmpty(),
                         qPrintable(QStringLiteral("row %1 should be empty").arg(row)));
                continue;
            }
            QCOMPARE(QStringLiteral("%1 %2").arg(row).arg(kindName(v.kind)),
                     QStringLiteral("%1 %2").arg(row).arg(w->second.first));
            QCOMPARE(valueAsText(v).value_or(QString()), w->second.second);
        }
    }

    void compareWithLibreOffice(const Workbook& book, const QJsonObject& lo, bool sameText) {
        QJsonValue col = lo[QStringLiteral("active_sheet_csv_col_a")];
        if (col.isUndefined()) {
            // A text file's one sheet is named after the file there.
            const QJsonObject bySheet = lo[QStringLiteral("col_a_by_sheet")].toObject();
            col = bySheet.size() == 1 ? *bySheet.begin() : bySheet[book.activeSheetName()];
        }
        QVERIFY2(col.isArray(), "LibreOffice has no sheet of that name");
        const QJsonArray shown = col.toArray();
        for (int row = 1; row <= 2010; ++row) {
            const CellValue v = book.cell(row, 1);
            const QString seen = row <= shown.size() ? shown[row - 1].toString() : QString();
            QCOMPARE(v.isEmpty(), seen.isEmpty());
            if (v.kind == CellValue::Kind::Text && sameText) {
                QCOMPARE(v.text, seen);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestCorpus)
#include "TestCorpus.moc"
