#pragma once

#include <QByteArray>
#include <QString>

namespace sortilo::xls {

// The charset a document names near its start: the value after `key` ("charset=" of an HTML
// <meta>, "encoding=" of an XML declaration), lower case; empty when it names none.
QByteArray declaredCharset(const QByteArray& bytes, const char* key);

// The text of a file: by its byte-order mark (UTF-8, UTF-16 either way), else by the declared
// charset, else UTF-8 when the bytes are valid UTF-8 and GB18030 when not (the Chinese systems'
// default). The labels of the Chinese charsets (gb2312, gbk ...) read as GB18030, their superset,
// as browsers and spreadsheet programs read them: pages labelled gb2312 hold GBK characters.
QString decodeText(const QByteArray& bytes, const QByteArray& declared = {});

// The same text as UTF-8 bytes.
QByteArray decodeTextToUtf8(const QByteArray& bytes, const QByteArray& declared = {});

}  // namespace sortilo::xls
