#pragma once

// The repository's own test files (tests/data, whose folder the build hands over), names as
// rosters have them, and files made read-only.

#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace sortilo::test {

// A file or folder of tests/data, e.g. "rosters/utf8.csv".
inline QString testData(const QString& relative) {
    return qEnvironmentVariable("SORTILO_TEST_DATA") + QLatin1Char('/') + relative;
}

// A real workbook of the corpus (tests/data/workbooks).
inline QString corpusFile(const QString& name) {
    return testData(QStringLiteral("workbooks/") + name);
}

// stem1 .. stemN.
inline QStringList numberedNames(int n, const QString& stem = QStringLiteral("名")) {
    QStringList names;
    names.reserve(n);
    for (int i = 1; i <= n; ++i) {
        names << stem + QString::number(i);
    }
    return names;
}

// Chinese names of two to four characters, as rosters have them.
inline QStringList chineseNames(int n) {
    const QStringList parts{"王伟", "欧阳", "李秀英", "张", "司马", "刘洋", "陈静", "杨"};
    QStringList names;
    for (int i = 0; i < n; ++i) {
        names << (parts[i % 8] + parts[(i / 8 + 3) % 8]).left(4);
    }
    return names;
}

// A file (0444) or folder (0555) without any write permission, or writable for its owner again.
inline bool setReadOnly(const QString& path, bool readOnly = true) {
    QFile::Permissions mode = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
    if (QFileInfo(path).isDir()) {
        mode |= QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    }
    return QFile::setPermissions(path, readOnly ? mode : mode | QFile::WriteOwner);
}

}  // namespace sortilo::test
