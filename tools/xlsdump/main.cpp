// xlsdump [--all] FILE
// Prints what the program reads from a workbook: the format, the sheet that opens and column A
// rows 1-2010 of it (or, with --all, every non-empty cell) as one JSON object. A file the
// program refuses: the reason on standard error and exit status 1.
#include "platform/ErrorMessage.h"
#include "platform/xls/CellText.h"
#include "platform/xls/Workbook.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

using namespace sortilo;
using namespace sortilo::xls;

namespace {

QString json(const QString& s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        switch (c.unicode()) {
            case '"':
                out += QLatin1String("\\\"");
                break;
            case '\\':
                out += QLatin1String("\\\\");
                break;
            case '\n':
                out += QLatin1String("\\n");
                break;
            case '\r':
                out += QLatin1String("\\r");
                break;
            case '\t':
                out += QLatin1String("\\t");
                break;
            default:
                if (c.unicode() < 0x20) {
                    out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
                } else {
                    out += c;
                }
        }
    }
    return out + QLatin1Char('"');
}

QString kindName(CellValue::Kind kind) {
    switch (kind) {
        case CellValue::Kind::Text:
            return QStringLiteral("text");
        case CellValue::Kind::Number:
            return QStringLiteral("number");
        case CellValue::Kind::Date:
            return QStringLiteral("date");
        case CellValue::Kind::Bool:
            return QStringLiteral("bool");
        case CellValue::Kind::Error:
            return QStringLiteral("error");
        case CellValue::Kind::Empty:
            break;
    }
    return QStringLiteral("empty");
}

QString cellJson(const CellValue& v) {
    return json(kindName(v.kind)) + QLatin1String(", ") + json(valueAsText(v).value_or(QString()));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool all = args.removeAll(QStringLiteral("--all")) > 0;
    QTextStream err(stderr);
    if (args.size() != 1) {
        err << "usage: xlsdump [--all] FILE\n";
        return 2;
    }
    const Result<Workbook> book = Workbook::open(args[0]);
    if (!book) {
        const Error& error = book.error();
        err << errorMessage(error);
        if (!error.detail.isEmpty()) {
            err << " (" << error.detail << ")";
        }
        err << "\n";
        return 1;
    }
    QString out =
        QStringLiteral("{\"format\": %1, \"activeSheet\": {\"index\": %2, \"name\": %3}, ")
            .arg(json(book->formatName()))
            .arg(book->activeSheetIndex())
            .arg(json(book->activeSheetName()));
    QStringList cells;
    const CellStore& store = book->cells();
    for (size_t i = 0; i < store.size(); ++i) {
        const uint32_t row = store.rowAt(i);
        const uint32_t col = store.colAt(i);
        const CellValue v = store.valueAt(i);
        if (v.isEmpty()) {
            continue;
        }
        if (all) {
            cells << QStringLiteral("[%1, %2, %3]").arg(row).arg(col).arg(cellJson(v));
        } else if (col == 1 && row <= 2010) {
            cells << QStringLiteral("[%1, %2]").arg(row).arg(cellJson(v));
        }
    }
    out += (all ? QStringLiteral("\"cells\": [") : QStringLiteral("\"columnA\": [")) +
           cells.join(QStringLiteral(", ")) + QStringLiteral("]}\n");
    QTextStream(stdout) << out;
    return 0;
}
