#pragma once

#include <QJsonArray>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVector>

// Every cell of every worksheet as python3-xlrd reads it: an independent reader to check our
// saved files against.
struct XlrdSheet {
    QString name;
    QMap<QPair<int, int>, QJsonArray> cells;  // (row, col) zero-based -> [ctype, value, xf]
};

struct XlrdBook {
    QString error;            // empty when xlrd read the file
    bool formatting = false;  // cell formats (and blank cells) included
    QVector<XlrdSheet> sheets;

    const XlrdSheet* sheet(const QString& name) const;
};

XlrdBook readWithXlrd(const QString& path);

// xlrd's cell types.
enum XlrdType { XlrdEmpty = 0, XlrdText = 1, XlrdBlank = 6 };
