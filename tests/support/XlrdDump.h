#pragma once

#include <QJsonArray>
#include <QMap>
#include <QPair>
#include <QRect>
#include <QString>
#include <QVector>

// Every cell of every worksheet as python3-xlrd reads it: an independent reader to check our
// saved files against.
struct XlrdSheet {
    QString name;
    bool selected = false;                     // its tab selected
    QMap<QPair<int, int>, QJsonArray> cells;   // (row, col) zero-based -> [ctype, value, xf]
    QVector<QRect> merged;                     // merged areas (with formats), x the column
    QMap<int, int> columnFormats, rowFormats;  // the formats of empty cells (with formats)
};

struct XlrdBook {
    QString error;            // empty when xlrd read the file
    bool formatting = false;  // cell formats (and blank cells) included
    int biff = 0;             // 80 for BIFF8, less for Excel 5/95
    QVector<XlrdSheet> sheets;

    const XlrdSheet* sheet(const QString& name) const;
};

XlrdBook readWithXlrd(const QString& path);

// xlrd's cell types.
enum XlrdType { XlrdEmpty = 0, XlrdText = 1, XlrdBlank = 6 };
