#include "platform/xls/WorkbookWriter.h"

#include "platform/xls/BiffWriter.h"

#include <QSaveFile>

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

namespace sortilo::xls {

QByteArray workbookFileBytes(const NewWorkbook& book, const WriteOptions& options) {
    NewWorkbook withSheet = book;
    if (withSheet.sheets.empty()) {
        withSheet.sheets.push_back(NewSheet{QStringLiteral("Sheet1"), {}});
    }
    return compoundFileBytes(biffStream(withSheet, options),
                             options.biffVersion >= 8 ? "Workbook" : "Book");
}

QByteArray compoundFileBytes(const QByteArray& stream, const char* streamName) {
    gsf_init();
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(sink);
    GsfOutput* child = gsf_outfile_new_child(ole, streamName, FALSE);
    gsf_output_write(child, size_t(stream.size()),
                     reinterpret_cast<const guint8*>(stream.constData()));
    gsf_output_close(child);
    g_object_unref(child);
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    const QByteArray file(
        reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink))),
        qsizetype(gsf_output_size(sink)));
    g_object_unref(sink);  // closed with the compound file
    return file;
}

SheetError createWorkbook(const QString& path, const NewWorkbook& book,
                          const WriteOptions& options) {
    const QByteArray bytes = workbookFileBytes(book, options);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return {SheetProblem::NotSaved, file.errorString()};
    }
    return {};
}

}  // namespace sortilo::xls
