#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A thin pull reader over libxml2's xmlTextReader for the parts of an xlsx package. Network
// access and entity expansion are off: a package's XML is data, not instructions.
namespace sortilo::xls {

class XmlReader {
public:
    // With `utf8`, the bytes are UTF-8 whatever the XML declaration says (decoded beforehand).
    explicit XmlReader(const QByteArray& xml, bool utf8 = false);
    ~XmlReader();
    XmlReader(const XmlReader&) = delete;
    XmlReader& operator=(const XmlReader&) = delete;

    // Moves to the next element start; false at the end of the document or on an error.
    bool nextElement();
    // The local name (without prefix) of the current element.
    QByteArray name() const;
    int depth() const;
    bool isEmptyElement() const;
    QString attribute(const char* localName) const;
    // The text inside the current element, leaving the reader on its end. With `onlyT`, only
    // the text of <t> elements outside phonetic runs (<rPh>) counts: a rich string's text.
    QString text(bool onlyT = false);
    bool failed() const { return failed_; }

private:
    void* reader_ = nullptr;  // xmlTextReaderPtr
    bool failed_ = false;
};

// Values as XML workbooks write them.
constexpr uint32_t MaxRow = 1048576;
constexpr uint32_t MaxCol = 16384;
bool xmlTrue(const QString& v);  // "1" or "true"
// The BIFF code of an error value ("#DIV/0!" 0x07); an unknown one counts as #N/A.
uint8_t errorCodeOf(const QString& e);
// The serial of an ISO 8601 date-time.
double isoSerial(const QString& iso);

}  // namespace sortilo::xls
