#include "platform/xlsedit/CompoundFile.h"

#include "platform/xls/Gsf.h"

#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>

namespace sortilo::xlsedit {

using xls::GRef;

namespace {

// Why an entry could not be written, or nothing.
QString writeNode(GsfOutfile* storage, const xls::CfbNode& node) {
    for (const xls::CfbNode& entry : node.children) {
        const QByteArray name = entry.name.toUtf8();
        GRef<GsfOutput> child(gsf_outfile_new_child(storage, name.constData(), entry.storage));
        if (!child.p) {
            return QStringLiteral("entry %1 cannot be created").arg(entry.name);
        }
        QString failed;
        if (entry.storage) {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(child.p), entry.clsid.data());
            failed = writeNode(GSF_OUTFILE(child.p), entry);
        } else if (!entry.data.isEmpty() &&
                   !gsf_output_write(child.p, size_t(entry.data.size()),
                                     reinterpret_cast<const guint8*>(entry.data.constData()))) {
            failed = QStringLiteral("stream %1 cannot be written").arg(entry.name);
        }
        if (failed.isEmpty() && !gsf_output_close(child.p)) {
            failed = QStringLiteral("entry %1 cannot be closed").arg(entry.name);
        }
        if (!failed.isEmpty()) {
            return failed;
        }
    }
    return {};
}

}  // namespace

Result<QByteArray> writeCompoundFile(const xls::CompoundFile& file) {
    xls::initGsf();
    GRef<GsfOutput> sink(gsf_output_memory_new());
    GRef<GsfOutfile> ole(gsf_outfile_msole_new_full(sink.p, file.sectorSize, 64));
    if (!ole.p) {
        return fault(ErrorKind::NotSaved, QStringLiteral("the container cannot be started"));
    }
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.p), file.root.clsid.data());
    QString failed = writeNode(ole.p, file.root);
    if (!gsf_output_close(GSF_OUTPUT(ole.p)) && failed.isEmpty()) {
        failed = QStringLiteral("the container cannot be finished");
    }
    if (!failed.isEmpty()) {
        return fault(ErrorKind::NotSaved, failed);
    }
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.p));
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(gsf_output_size(sink.p)));
}

}  // namespace sortilo::xlsedit
