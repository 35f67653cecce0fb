#pragma once

// Whole files in and out, for tests that compare a file before and after.

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of a file; empty if it cannot be read.
inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
