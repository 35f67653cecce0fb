#include "FuzzEdit.h"

#include "platform/xls/Container.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QFile>
#include <QTemporaryDir>

using namespace sortilo;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

FuzzEditOutcome fuzzEdit(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.xls"));
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (xls::sniffContent(input) != FileKind::Cfb) {
        xls::CompoundFile packed;
        packed.root.storage = true;
        packed.root.children.push_back({QStringLiteral("Workbook"), false, false, {}, input, {}});
        const Result<QByteArray> bytes = xlsedit::writeCompoundFile(packed);
        if (!bytes) {
            return FuzzEditOutcome::Broken;
        }
        input = *bytes;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(input) != input.size()) {
        return FuzzEditOutcome::Broken;
    }
    file.close();
    Result<xlsedit::EditableWorkbook> book = xlsedit::EditableWorkbook::open(path);
    if (!book) {
        const Error& e = book.error();
        const bool said = !e.detail.isEmpty() || e.content != FileKind::Unknown;
        return said && readAll(path) == input ? FuzzEditOutcome::Refused : FuzzEditOutcome::Broken;
    }
    static_cast<void>(book->clearRange(QStringLiteral("A1:AZ5000")));
    static_cast<void>(book->writeCell(1, 1, QStringLiteral("第1组")));
    static_cast<void>(
        book->writeCell(2, 1, QString(5000, QChar(0x4E2D)) + QString(5000, QLatin1Char('a'))));
    static_cast<void>(book->writeCell(3, 2, QStringLiteral("=1+1")));
    static_cast<void>(book->writeCell(40, 60, QStringLiteral("007")));
    static_cast<void>(book->writeCell(70000 % 65536, 3, QStringLiteral("x")));
    if (!book->save()) {
        // A failed save must leave the file as it was.
        return readAll(path) == input ? FuzzEditOutcome::Refused : FuzzEditOutcome::Broken;
    }
    // What was saved must open again.
    return xlsedit::EditableWorkbook::open(path) ? FuzzEditOutcome::Edited
                                                 : FuzzEditOutcome::Broken;
}
