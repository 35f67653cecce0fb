#include "platform/xls/Container.h"

#include "platform/Texts.h"
#include "platform/xls/Bytes.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile-zip.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include <QStringList>

#include <mutex>

namespace sortilo::xls {

namespace {

// libgsf reports damaged containers through GLib warnings too; the caller gets the error.
void quietLog(const gchar*, GLogLevelFlags, const gchar*, gpointer) {}

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

SheetError corrupt(const char* what) {
    return {SheetProblem::Corrupt, QString::fromLatin1(what)};
}

// Prefers `Workbook` (BIFF8) when a file also carries an old `Book` stream.
GsfInput* findWorkbookStream(GsfInfile* ole, QString& foundName, bool& encryptedPackage) {
    GsfInput* book = nullptr;
    for (const char* wanted : {"Workbook", "Book"}) {
        const int children = gsf_infile_num_children(ole);
        for (int i = 0; i < children && !book; ++i) {
            const char* name = gsf_infile_name_by_index(ole, i);
            const QString n = name ? QString::fromUtf8(name) : QString();
            encryptedPackage |= n == QLatin1String("EncryptedPackage");
            if (n.compare(QLatin1String(wanted), Qt::CaseInsensitive) != 0) {
                continue;
            }
            GsfInput* child = gsf_infile_child_by_index(ole, i);
            if (child && GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0) {
                g_object_unref(child);  // a storage of that name, not a stream
                child = nullptr;
            }
            book = child;
            foundName = n;
        }
    }
    return book;
}

}  // namespace

ContentKind sniffContent(const QByteArray& bytes) {
    if (bytes.isEmpty()) {
        return ContentKind::Empty;
    }
    if (startsWith(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        return ContentKind::Cfb;
    }
    if (startsWith(bytes, "PK\x03\x04", 4)) {
        return ContentKind::Zip;
    }
    if (bytes.size() >= 4) {
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
        const uint16_t type = le16(p);
        const uint16_t length = le16(p + 2);
        const bool bof = type == 0x0009 || type == 0x0209 || type == 0x0409 || type == 0x0809;
        if (bof && length >= 4 && length <= 32) {
            return ContentKind::RawBiff;
        }
    }
    if (startsWith(bytes, "\xFF\xFE", 2) || startsWith(bytes, "\xFE\xFF", 2)) {
        return ContentKind::UnicodeText;
    }
    QByteArray head = bytes.left(4096);
    if (head.startsWith("\xEF\xBB\xBF")) {
        head.remove(0, 3);
    }
    const QByteArray lower = head.trimmed().toLower();
    if (lower.startsWith('<')) {
        if (lower.contains("urn:schemas-microsoft-com:office:spreadsheet") &&
            !lower.contains("<html")) {
            return ContentKind::Xml2003;
        }
        if (lower.contains("<html") || lower.contains("<table") || lower.startsWith("<!doctype")) {
            return ContentKind::Html;
        }
        if (lower.startsWith("<?xml")) {
            return ContentKind::Xml;
        }
    }
    return looksLikeText(head) ? ContentKind::Text : ContentKind::Other;
}

SheetError readCfbWorkbookStream(const QByteArray& file, CfbWorkbookStream& out) {
    initGsf();
    // A last sector cut short is common and harmless: pad the copy to whole sectors.
    QByteArray padded = file;
    const int sector = file.size() >= 32 && uint8_t(file[30]) == 12 ? 4096 : 512;
    if (padded.size() % sector != 0) {
        padded.append(QByteArray(sector - padded.size() % sector, '\0'));
    }
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(padded.constData()),
                                           gsf_off_t(padded.size()), FALSE);
    GError* err = nullptr;
    GsfInfile* ole = gsf_infile_msole_new(input, &err);
    g_object_unref(input);
    if (!ole) {
        g_clear_error(&err);
        return corrupt("the compound file's header, allocation table or directory is damaged");
    }
    bool encryptedPackage = false;
    GsfInput* book = findWorkbookStream(ole, out.name, encryptedPackage);
    SheetError error;
    if (!book) {
        if (encryptedPackage) {
            error = {SheetProblem::PasswordProtected, QStringLiteral("encrypted xlsx")};
        } else {
            error = {SheetProblem::NotAWorkbook, texts::FileKindOtherOle};
        }
    } else {
        const gsf_off_t size = gsf_input_size(book);
        if (size <= 0 || size > gsf_off_t(padded.size())) {
            error = corrupt("the workbook stream's size does not fit in the file");
        } else {
            out.stream.resize(qsizetype(size));
            if (!gsf_input_read(book, size_t(size), reinterpret_cast<guint8*>(out.stream.data()))) {
                error = corrupt("the workbook stream's sector chain is broken");
                out.stream.clear();
            }
        }
        g_object_unref(book);
    }
    g_object_unref(ole);
    return error;
}

ZipPackage::~ZipPackage() {
    if (infile_) {
        g_object_unref(static_cast<GsfInfile*>(infile_));
    }
    if (input_) {
        g_object_unref(static_cast<GsfInput*>(input_));
    }
}

SheetError ZipPackage::open(const QByteArray& file) {
    initGsf();
    // The package keeps a pointer to the bytes: the caller keeps `file` alive meanwhile.
    GsfInput* input = gsf_input_memory_new(reinterpret_cast<const guint8*>(file.constData()),
                                           gsf_off_t(file.size()), FALSE);
    GError* err = nullptr;
    GsfInfile* zip = gsf_infile_zip_new(input, &err);
    if (!zip) {
        g_clear_error(&err);
        g_object_unref(input);
        return corrupt("the zip package's directory is damaged");
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
    GsfInput* part = findPart(static_cast<GsfInfile*>(infile_), path);
    if (part) {
        g_object_unref(part);
    }
    return part != nullptr;
}

bool ZipPackage::read(const QString& path, QByteArray& out, SheetError& error) const {
    // A roster's parts are small; a part claiming more is damaged or hostile.
    constexpr gsf_off_t MaxPart = 256 * 1024 * 1024;
    GsfInput* part = findPart(static_cast<GsfInfile*>(infile_), path);
    if (!part) {
        return false;
    }
    const gsf_off_t size = gsf_input_size(part);
    bool ok = false;
    if (size < 0 || size > MaxPart) {
        error = corrupt("a part of the zip package is too large");
    } else {
        out.resize(qsizetype(size));
        ok = size == 0 ||
             gsf_input_read(part, size_t(size), reinterpret_cast<guint8*>(out.data())) != nullptr;
        if (!ok) {
            error = corrupt("a part of the zip package cannot be unpacked");
        }
    }
    g_object_unref(part);
    return ok;
}

}  // namespace sortilo::xls
