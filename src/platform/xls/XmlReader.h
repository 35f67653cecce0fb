#pragma once

#include <QByteArray>
#include <QString>

// A thin pull reader over libxml2's xmlTextReader for the parts of an xlsx package. Network
// access and entity expansion are off: a package's XML is data, not instructions.
namespace sortilo::xls {

class XmlReader {
public:
    explicit XmlReader(const QByteArray& xml);
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

}  // namespace sortilo::xls
