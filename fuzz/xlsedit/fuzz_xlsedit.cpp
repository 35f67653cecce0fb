// libFuzzer entry: every input goes through the export's steps on a file of its own. An input
// that is not a compound file is taken as a Workbook stream and packed into one, so that most
// mutations reach the record parsing instead of stopping at the container.
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <glib.h>

#include <cstdint>
#include <cstdlib>

using sortilo::SheetError;
using namespace sortilo::xlsedit;

namespace {

void quiet(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // libgsf reports damaged containers on stderr; the result codes say it already.
    g_log_set_default_handler(quiet, nullptr);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fuzz.xls"));
    QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (!input.startsWith(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8))) {
        CompoundFile packed;
        packed.root.storage = true;
        packed.root.children.push_back(CfbNode{QStringLiteral("Workbook"), false, {}, input, {}});
        QString reason;
        if (!writeCompoundFile(packed, input, reason))
            std::abort();
    }
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(input) != input.size())
            std::abort();
    }
    SheetError error;
    auto book = EditableWorkbook::open(path, error);
    if (!book)
        return 0;
    book->clearRange(QStringLiteral("A1:AZ5000"));
    book->writeCell(1, 1, QStringLiteral("第1组"));
    book->writeCell(2, 1, QString(5000, QChar(0x4E2D)) + QString(5000, QLatin1Char('a')));
    book->writeCell(3, 2, QStringLiteral("=1+1"));
    book->writeCell(40, 60, QStringLiteral("007"));
    book->writeCell(70000 % 65536, 3, QStringLiteral("x"));
    if (book->save()) {
        if (readAll(path) != input)
            std::abort();  // a failed save must leave the file as it was
        return 0;
    }
    if (!EditableWorkbook::open(path, error))
        std::abort();  // what we saved must open again
    return 0;
}
