#include "support/XlrdDump.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace {

const char* const kScript = R"(
import json, sys, xlrd
try:
    try:
        book, fmt = xlrd.open_workbook(sys.argv[1], formatting_info=True, logfile=sys.stderr, ragged_rows=True), True
    except Exception:
        book, fmt = xlrd.open_workbook(sys.argv[1], formatting_info=False, logfile=sys.stderr, ragged_rows=True), False
except Exception as e:
    print(json.dumps({"error": str(e) or type(e).__name__})); sys.exit(0)
out = {"formatting": fmt, "biff": book.biff_version, "sheets": []}
for sh in book.sheets():
    cells = []
    for r in range(sh.nrows):
        for c in range(sh.row_len(r)):
            cell = sh.cell(r, c)
            if cell.ctype != xlrd.XL_CELL_EMPTY:
                cells.append([r, c, cell.ctype, cell.value, cell.xf_index if fmt else -1])
    out["sheets"].append({"name": sh.name, "selected": bool(sh.sheet_selected), "cells": cells,
                          "merged": [list(m) for m in sh.merged_cells],
                          "colxf": [[c, i.xf_index] for c, i in sh.colinfo_map.items()],
                          "rowxf": [[r, i.xf_index] for r, i in sh.rowinfo_map.items()
                                    if i.has_default_xf_index]})
sys.stdout.write(json.dumps(out, ensure_ascii=False))
)";

}  // namespace

const XlrdSheet* XlrdBook::sheet(const QString& name) const {
    const auto it = std::find_if(sheets.begin(), sheets.end(),
                                 [&](const XlrdSheet& s) { return s.name == name; });
    return it == sheets.end() ? nullptr : &*it;
}

XlrdBook readWithXlrd(const QString& path) {
    XlrdBook book;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromUtf8(kScript), path});
    if (!python.waitForFinished(120000)) {
        book.error = QStringLiteral("python3 did not finish");
        return book;
    }
    const QJsonObject root = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    if (root.isEmpty()) {
        book.error =
            QStringLiteral("no output: ") + QString::fromUtf8(python.readAllStandardError());
        return book;
    }
    book.error = root[u"error"].toString();
    book.formatting = root[u"formatting"].toBool();
    book.biff = root[u"biff"].toInt();
    for (const auto& s : root[u"sheets"].toArray()) {
        const QJsonObject o = s.toObject();
        XlrdSheet sheet;
        sheet.name = o[u"name"].toString();
        sheet.selected = o[u"selected"].toBool();
        for (const auto& c : o[u"cells"].toArray()) {
            const QJsonArray a = c.toArray();
            sheet.cells.insert({a[0].toInt(), a[1].toInt()}, QJsonArray{a[2], a[3], a[4]});
        }
        for (const char* key : {"colxf", "rowxf"}) {
            for (const auto& f : o.value(QLatin1String(key)).toArray()) {
                (key[0] == 'c' ? sheet.columnFormats : sheet.rowFormats)
                    .insert(f[0].toInt(), f[1].toInt());
            }
        }
        for (const auto& m : o[u"merged"].toArray()) {
            const QJsonArray a = m.toArray();  // rows, then columns, each [first, last + 1)
            sheet.merged.push_back(QRect(QPoint(a[2].toInt(), a[0].toInt()),
                                         QPoint(a[3].toInt() - 1, a[1].toInt() - 1)));
        }
        book.sheets.push_back(sheet);
    }
    return book;
}
