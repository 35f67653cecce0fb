#include "WorkbookWriter.h"

#include "platform/xlsedit/CompoundFile.h"

#include <QSaveFile>

namespace sortilo::xls {

QByteArray workbookFileBytes(const NewWorkbook& book, const WriteOptions& options) {
    NewWorkbook withSheet = book;
    if (withSheet.sheets.empty()) {
        withSheet.sheets.push_back(NewSheet{QStringLiteral("Sheet1"), {}});
    }
    return compoundFileBytes(biffStream(withSheet, options), options.biffVersion >= 8
                                                                 ? QStringLiteral("Workbook")
                                                                 : QStringLiteral("Book"));
}

QByteArray compoundFileBytes(const QByteArray& stream, const QString& streamName) {
    CompoundFile file;
    file.root.storage = true;
    file.root.children.push_back(CfbNode{streamName, false, false, {}, stream, {}});
    const Result<QByteArray> bytes = xlsedit::writeCompoundFile(file);
    return bytes ? *bytes : QByteArray();
}

Result<void> createWorkbook(const QString& path, const NewWorkbook& book,
                            const WriteOptions& options) {
    const QByteArray bytes = workbookFileBytes(book, options);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return Error(ErrorKind::NotSaved, path, file.errorString());
    }
    return {};
}

}  // namespace sortilo::xls
