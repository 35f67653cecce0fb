#include "platform/xls/Container.h"

#include "platform/xls/Bytes.h"
#include "platform/xls/Charset.h"
#include "platform/xls/Gsf.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <mutex>
#include <optional>

namespace sortilo::xls {

Result<QByteArray> readFileBytes(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return Error(ErrorKind::Missing, path, path);
    }
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        return Error(ErrorKind::Unreadable, path,
                     info.isDir() ? QStringLiteral("a folder") : file.errorString());
    }
    // Read into a buffer of the file's size: a workbook is read whole, and twice as much
    // memory as it needs would be the peak of an export.
    QByteArray bytes(qsizetype(info.size()), Qt::Uninitialized);
    const qint64 got = file.read(bytes.data(), bytes.size());
    bytes.truncate(qsizetype(std::max<qint64>(got, 0)));
    if (got >= 0 && !file.atEnd()) {
        bytes += file.readAll();  // it grew meanwhile
    }
    if (got < 0 || file.error() != QFileDevice::NoError) {
        return Error(ErrorKind::Unreadable, path, file.errorString());
    }
    return bytes;
}

namespace {

bool startsWith(const QByteArray& bytes, const char* prefix, int size) {
    return bytes.size() >= size && std::memcmp(bytes.constData(), prefix, size_t(size)) == 0;
}

bool looksLikeText(const QByteArray& head) {
    int control = 0;
    for (char ch : head) {
        const auto c = uint8_t(ch);
        if (c == 0) {
            return false;
        }
        if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != 0x0C) {
            ++control;
        }
    }
    return control * 50 <= head.size();
}

// The kind of markup the start of a document shows, if it is markup.
std::optional<FileKind> markupKind(const QByteArray& head) {
    const QByteArray lower = head.trimmed().toLower();
    if (!lower.startsWith('<')) {
        return std::nullopt;
    }
    if (lower.contains("urn:schemas-microsoft-com:office:spreadsheet") &&
        !lower.contains("<html")) {
        return FileKind::Xml2003;
    }
    if (lower.contains("<html") || lower.contains("<table") || lower.startsWith("<!doctype")) {
        return FileKind::Html;
    }
    if (lower.startsWith("<?xml")) {
        return FileKind::Xml;
    }
    return std::nullopt;
}

}  // namespace

FileKind sniffContent(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return FileKind::Empty;
    }
    if (startsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        return FileKind::Cfb;
    }
    if (startsWith(bytes, "PK\x03\x04", 4)) {
        return FileKind::Zip;
    }
    if (bytes.size() >= 4) {
        const uint16_t type = le16(bytes.constData());
        const uint16_t length = le16(bytes.constData() + 2);
        const bool bof = type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809;
        if (bof && length >= 4 && length <= 32) {
            return FileKind::RawBiff;
        }
    }
    if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)) {
        // Pages and XML documents are saved in UTF-16 too: the markup decides, not the mark.
        const QByteArray head = decodeText(bytes.left(4096)).toUtf8();
        return markupKind(head).value_or(FileKind::UnicodeText);
    }
    QByteArray head = bytes.left(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    if (const std::optional<FileKind> kind = markupKind(head)) {
        return *kind;
    }
    return looksLikeText(head) ? FileKind::Text : FileKind::Other;
}

namespace {

// libgsf reports damaged containers through GLib warnings too; the caller gets the error.
void quietLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

}  // namespace

void initGsf() {
    static std::once_flag once;
    std::call_once(once, [] {
        gsf_init();
        for (const char* domain : {"libgsf", "libgsf:msole", "libgsf:zip", "GLib-GObject"}) {
            g_log_set_handler(
                domain,
                GLogLevelFlags(G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE | G_LOG_LEVEL_INFO |
                               G_LOG_LEVEL_DEBUG | G_LOG_LEVEL_CRITICAL),
                quietLog, nullptr);
        }
    });
}

namespace {

constexpr int MaxDepth = 32;

void readEntries(GsfInfile* storage, CfbNode& node, qint64 fileSize, int depth) {
    if (GSF_IS_INFILE_MSOLE(storage)) {
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(storage), node.clsid.data());
    }
    const int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        CfbNode entry;
        const char* name = gsf_infile_name_by_index(storage, i);
        entry.name = QString::fromUtf8(name ? name : "");
        GRef<GsfInput> child(gsf_infile_child_by_index(storage, i));
        entry.storage =
            child.p && GSF_IS_INFILE(child.p) && gsf_infile_num_children(GSF_INFILE(child.p)) >= 0;
        const gsf_off_t size = child.p ? gsf_input_size(child.p) : -1;
        if (entry.storage && depth < MaxDepth) {
            readEntries(GSF_INFILE(child.p), entry, fileSize, depth + 1);
        } else if (entry.storage || !child.p || size < 0 || size > fileSize) {
            // A stream cannot hold more than the file it lives in; a larger size is damage.
            entry.damaged = true;
        } else {
            entry.data = QByteArray(qsizetype(size), Qt::Uninitialized);
            entry.damaged =
                size > 0 && !gsf_input_read(child.p, size_t(size),
                                            reinterpret_cast<guint8*>(entry.data.data()));
            if (GSF_IS_INFILE_MSOLE(child.p)) {
                gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child.p), entry.clsid.data());
            }
        }
        node.damaged = node.damaged || entry.damaged;
        node.children.push_back(std::move(entry));
    }
}

}  // namespace

Result<CompoundFile> readCompoundFile(const QByteArray& bytes) {
    initGsf();
    CompoundFile out;
    out.sectorSize = bytes.size() >= 32 && uint8_t(bytes[30]) == 12 ? 4096 : 512;
    // A last sector cut short is common and harmless: pad the copy to whole sectors.
    QByteArray padded = bytes;
    if (padded.size() % out.sectorSize != 0) {
        padded.append(QByteArray(out.sectorSize - padded.size() % out.sectorSize, '\0'));
    }
    GRef<GsfInput> input(gsf_input_memory_new(reinterpret_cast<const guint8*>(padded.constData()),
                                              gsf_off_t(padded.size()), FALSE));
    GError* error = nullptr;
    GRef<GsfInfile> infile(gsf_infile_msole_new(input.p, &error));
    if (!infile.p) {
        g_clear_error(&error);
        return fault(ErrorKind::Corrupt,
                     QStringLiteral("the compound file's header, allocation table or directory "
                                    "is damaged"));
    }
    out.root.storage = true;
    readEntries(infile.p, out.root, padded.size(), 0);
    return out;
}

int findStream(const CfbNode& storage, const QString& name) {
    for (size_t i = 0; i < storage.children.size(); ++i) {
        const CfbNode& entry = storage.children[i];
        if (!entry.storage && entry.name.compare(name, Qt::CaseInsensitive) == 0) {
            return int(i);
        }
    }
    return -1;
}

ZipPackage::~ZipPackage() {
    if (infile_) {
        g_object_unref(static_cast<GsfInfile*>(infile_));
    }
    if (input_) {
        g_object_unref(static_cast<GsfInput*>(input_));
    }
}

Result<void> ZipPackage::open(const QByteArray& file) {
    initGsf();
    // The package keeps a pointer to the bytes: the caller keeps `file` alive meanwhile.
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                           gsf_off_t(file.size()), FALSE);
    GError* err = nullptr;
    GsfInfile* zip = gsf_infile_zip_new(input, &err);
    if (!zip) {
        g_clear_error(&err);
        g_object_unref(input);
        return fault(ErrorKind::Corrupt, QStringLiteral("the zip package's directory is damaged"));
    }
    input_ = input;
    infile_ = zip;
    return {};
}

namespace {

GsfInput* findPart(GsfInfile* root, const QString& path) {
    const QStringList names = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (names.isEmpty()) {
        return nullptr;
    }
    GsfInfile* dir = root;
    g_object_ref(dir);
    for (qsizetype i = 0; i < names.size(); ++i) {
        GsfInput* child = gsf_infile_child_by_name(dir, names[i].toUtf8().constData());
        g_object_unref(dir);
        if (!child) {
            return nullptr;
        }
        if (i + 1 == names.size()) {
            return child;
        }
        if (!GSF_IS_INFILE(child)) {
            g_object_unref(child);
            return nullptr;
        }
        dir = GSF_INFILE(child);
    }
    return nullptr;
}

}  // namespace

bool ZipPackage::has(const QString& path) const {
    GRef<GsfInput> part(findPart(static_cast<GsfInfile*>(infile_), path));
    return part.p != nullptr;
}

Result<QByteArray> ZipPackage::read(const QString& path) const {
    // A roster's parts are small; a part claiming more is damaged or hostile.
    constexpr gsf_off_t MaxPart = 256 * 1024 * 1024;
    GRef<GsfInput> part(findPart(static_cast<GsfInfile*>(infile_), path));
    if (!part.p) {
        return fault(ErrorKind::Corrupt, QStringLiteral("the package has no part ") + path);
    }
    const gsf_off_t size = gsf_input_size(part.p);
    if (size < 0 || size > MaxPart) {
        return fault(ErrorKind::Corrupt, QStringLiteral("a part of the zip package is too large"));
    }
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    if (size > 0 && !gsf_input_read(part.p, size_t(size), reinterpret_cast<guint8*>(out.data()))) {
        return fault(ErrorKind::Corrupt,
                     QStringLiteral("a part of the zip package cannot be unpacked"));
    }
    return out;
}

}  // namespace sortilo::xls
