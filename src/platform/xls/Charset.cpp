#include "platform/xls/Charset.h"

#include "platform/xls/Biff.h"

#include <QStringDecoder>

#include <algorithm>
#include <cctype>

namespace sortilo::xls {

QByteArray declaredCharset(const QByteArray& bytes, const char* key) {
    const QByteArray head = bytes.left(4096).toLower();
    qsizetype at = head.indexOf(key);
    if (at < 0) {
        return {};
    }
    at += qsizetype(qstrlen(key));
    while (at < head.size() && (head[at] == ' ' || head[at] == '"' || head[at] == '\'')) {
        ++at;
    }
    qsizetype end = at;
    while (end < head.size() && (std::isalnum(uchar(head[end])) || head[end] == '-' ||
                                 head[end] == '_' || head[end] == '.' || head[end] == ':')) {
        ++end;
    }
    return head.mid(at, end - at);
}

namespace {

QString fromUtf16(const QByteArray& bytes, qsizetype from, bool bigEndian) {
    QStringDecoder decoder(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE);
    return decoder(QByteArrayView(bytes).sliced(from));
}

bool isChinese(const QByteArray& label) {
    static const QByteArray labels[] = {"gb2312", "gbk",   "gb18030",     "cp936",    "x-gbk",
                                        "euc-cn", "ms936", "windows-936", "csgb2312", "chinese"};
    return std::find(std::begin(labels), std::end(labels), label) != std::end(labels);
}

// The charset other than UTF-8 the text is decoded with by its declaration; empty for none.
QByteArray declaredOther(const QByteArray& declared) {
    // A document whose declaration could be read is no UTF-16 whatever it says (as browsers
    // take it).
    const QByteArray charset = isChinese(declared)             ? QByteArray("GB18030")
                               : declared.startsWith("utf-16") ? QByteArray()
                                                               : declared.toUpper();
    if (charset.isEmpty() || charset == "UTF-8" || charset == "UTF8" ||
        CodePage(charset).iconvName() != charset) {
        return {};
    }
    return charset;
}

}  // namespace

QString decodeText(const QByteArray& bytes, const QByteArray& declared) {
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        return QString::fromUtf8(QByteArrayView(bytes).sliced(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        return fromUtf16(bytes, 2, bytes[0] == '\xFE');
    }
    if (const QByteArray charset = declaredOther(declared); !charset.isEmpty()) {
        return CodePage(charset).decode(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                        size_t(bytes.size()));
    }
    // Nothing declared (or a charset unknown here): the bytes say it.
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (!utf8.hasError()) {
        return text;
    }
    return CodePage(QByteArray("GB18030"))
        .decode(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size()));
}

QByteArray decodeTextToUtf8(const QByteArray& bytes, const QByteArray& declared) {
    // Valid UTF-8 that is read as UTF-8 comes back unchanged: no need to decode it (the
    // common case, and a long page's worth of time).
    const bool marked = bytes.startsWith("\xEF\xBB\xBF");
    const QByteArrayView text = QByteArrayView(bytes).sliced(marked ? 3 : 0);
    if ((marked || declaredOther(declared).isEmpty()) && text.isValidUtf8()) {
        return marked ? text.toByteArray() : bytes;
    }
    return decodeText(bytes, declared).toUtf8();
}

}  // namespace sortilo::xls
