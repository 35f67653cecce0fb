#include "platform/xlsedit/CompoundFile.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <mutex>

namespace sortilo::xlsedit {
namespace {

void ensureGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

// Owns one GObject reference.
template <typename T>
struct GRef {
    T* p = nullptr;
    explicit GRef(T* object) : p(object) {}
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
    ~GRef() {
        if (p)
            g_object_unref(p);
    }
};

constexpr int kMaxDepth = 32;

bool readNode(GsfInfile* storage, CfbNode& node, qint64 fileSize, int depth, QString& reason) {
    if (depth > kMaxDepth) {
        reason = QStringLiteral("storages nested too deeply");
        return false;
    }
    if (GSF_IS_INFILE_MSOLE(storage))
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(storage), node.clsid.data());
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        GRef<GsfInput> child(gsf_infile_child_by_index(storage, i));
        if (!child.p) {
            reason = QStringLiteral("entry %1 cannot be opened").arg(i);
            return false;
        }
        CfbNode entry;
        const char* name = gsf_infile_name_by_index(storage, i);
        entry.name = QString::fromUtf8(name ? name : "");
        const bool isStorage =
            GSF_IS_INFILE(child.p) && gsf_infile_num_children(GSF_INFILE(child.p)) >= 0;
        if (isStorage) {
            entry.storage = true;
            if (!readNode(GSF_INFILE(child.p), entry, fileSize, depth + 1, reason))
                return false;
        } else {
            const gsf_off_t size = gsf_input_size(child.p);
            // A stream cannot hold more than the file it lives in; a larger size is damage.
            if (size < 0 || size > fileSize) {
                reason = QStringLiteral("stream %1 claims %2 bytes").arg(entry.name).arg(size);
                return false;
            }
            entry.data.resize(qsizetype(size));
            if (size > 0 &&
                !gsf_input_read(child.p, size, reinterpret_cast<guint8*>(entry.data.data()))) {
                reason = QStringLiteral("stream %1 cannot be read").arg(entry.name);
                return false;
            }
            if (GSF_IS_INFILE_MSOLE(child.p))
                gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.p), entry.clsid.data());
        }
        node.children.push_back(std::move(entry));
    }
    return true;
}

bool writeNode(GsfOutfile* storage, const CfbNode& node, QString& reason) {
    for (const CfbNode& entry : node.children) {
        const QByteArray name = entry.name.toUtf8();
        GRef<GsfOutput> child(gsf_outfile_new_child(storage, name.constData(), entry.storage));
        if (!child.p) {
            reason = QStringLiteral("entry %1 cannot be created").arg(entry.name);
            return false;
        }
        if (entry.storage) {
            gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(child.p), entry.clsid.data());
            if (!writeNode(GSF_OUTFILE(child.p), entry, reason))
                return false;
        } else if (!entry.data.isEmpty() &&
                   !gsf_output_write(child.p, size_t(entry.data.size()),
                                     reinterpret_cast<const guint8*>(entry.data.constData()))) {
            reason = QStringLiteral("stream %1 cannot be written").arg(entry.name);
            return false;
        }
        if (!gsf_output_close(child.p)) {
            reason = QStringLiteral("entry %1 cannot be closed").arg(entry.name);
            return false;
        }
    }
    return true;
}

}  // namespace

bool readCompoundFile(const QByteArray& bytes, CompoundFile& out, QString& reason) {
    ensureGsf();
    if (bytes.size() < 512) {
        reason = QStringLiteral("container shorter than its header");
        return false;
    }
    const auto shift = uint8_t(bytes[30]);
    out.sectorSize = shift == 12 ? 4096u : 512u;
    GRef<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.constData()),
                                              bytes.size(), FALSE));
    GError* error = nullptr;
    GRef<GsfInfile> infile(gsf_infile_msole_new(input.p, &error));
    if (!infile.p) {
        reason = QString::fromUtf8(error && error->message ? error->message : "damaged container");
        if (error)
            g_error_free(error);
        return false;
    }
    out.root = CfbNode{};
    out.root.storage = true;
    return readNode(infile.p, out.root, bytes.size(), 0, reason);
}

bool writeCompoundFile(const CompoundFile& file, QByteArray& out, QString& reason) {
    ensureGsf();
    GRef<GsfOutput> sink(gsf_output_memory_new());
    GRef<GsfOutfile> ole(gsf_outfile_msole_new_full(sink.p, file.sectorSize, 64));
    if (!ole.p) {
        reason = QStringLiteral("container cannot be started");
        return false;
    }
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.p), file.root.clsid.data());
    const bool written = writeNode(ole.p, file.root, reason);
    if (!gsf_output_close(GSF_OUTPUT(ole.p)) && written) {
        reason = QStringLiteral("container cannot be finished");
        return false;
    }
    if (!written)
        return false;
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.p));
    const gsf_off_t size = gsf_output_size(sink.p);
    out = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
    return true;
}

CfbNode* findStream(CfbNode& storage, const QString& name) {
    for (CfbNode& entry : storage.children) {
        if (!entry.storage && entry.name.compare(name, Qt::CaseInsensitive) == 0)
            return &entry;
    }
    return nullptr;
}

}  // namespace sortilo::xlsedit
