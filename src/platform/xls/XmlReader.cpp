#include "platform/xls/XmlReader.h"

#include <libxml/xmlreader.h>

#include <vector>

namespace sortilo::xls {

namespace {

xmlTextReaderPtr r(void* p) {
    return static_cast<xmlTextReaderPtr>(p);
}

QByteArray localName(xmlTextReaderPtr reader) {
    const xmlChar* n = xmlTextReaderConstLocalName(reader);
    return n ? QByteArray(reinterpret_cast<const char*>(n)) : QByteArray();
}

}  // namespace

XmlReader::XmlReader(const QByteArray& xml) {
    reader_ = xmlReaderForMemory(xml.constData(), int(xml.size()), nullptr, nullptr,
                                 XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
    failed_ = reader_ == nullptr;
}

XmlReader::~XmlReader() {
    if (reader_) {
        xmlFreeTextReader(r(reader_));
    }
}

bool XmlReader::nextElement() {
    if (failed_) {
        return false;
    }
    for (;;) {
        const int ret = xmlTextReaderRead(r(reader_));
        if (ret != 1) {
            failed_ = ret < 0;
            return false;
        }
        if (xmlTextReaderNodeType(r(reader_)) == XML_READER_TYPE_ELEMENT) {
            return true;
        }
    }
}

QByteArray XmlReader::name() const {
    return localName(r(reader_));
}

int XmlReader::depth() const {
    return xmlTextReaderDepth(r(reader_));
}

bool XmlReader::isEmptyElement() const {
    return xmlTextReaderIsEmptyElement(r(reader_)) == 1;
}

QString XmlReader::attribute(const char* wanted) const {
    QString value;
    if (xmlTextReaderMoveToFirstAttribute(r(reader_)) != 1) {
        return value;
    }
    do {
        if (localName(r(reader_)) == wanted) {
            const xmlChar* v = xmlTextReaderConstValue(r(reader_));
            value = v ? QString::fromUtf8(reinterpret_cast<const char*>(v)) : QString();
            break;
        }
    } while (xmlTextReaderMoveToNextAttribute(r(reader_)) == 1);
    xmlTextReaderMoveToElement(r(reader_));
    return value;
}

QString XmlReader::text(bool onlyT) {
    QString out;
    if (isEmptyElement()) {
        return out;
    }
    const int start = depth();
    // The open elements below the start: for rich strings only <t> counts, not <rPh>.
    std::vector<QByteArray> open;
    int phonetic = 0;
    for (;;) {
        const int ret = xmlTextReaderRead(r(reader_));
        if (ret != 1) {
            failed_ = ret < 0;
            return out;
        }
        const int type = xmlTextReaderNodeType(r(reader_));
        if (type == XML_READER_TYPE_END_ELEMENT) {
            if (xmlTextReaderDepth(r(reader_)) == start) {
                return out;
            }
            if (!open.empty()) {
                phonetic -= open.back() == "rPh" ? 1 : 0;
                open.pop_back();
            }
        } else if (type == XML_READER_TYPE_ELEMENT) {
            if (!xmlTextReaderIsEmptyElement(r(reader_))) {
                open.push_back(localName(r(reader_)));
                phonetic += open.back() == "rPh" ? 1 : 0;
            }
        } else if (type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
                   type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE ||
                   type == XML_READER_TYPE_WHITESPACE) {
            const bool counts = !onlyT || (phonetic == 0 && !open.empty() && open.back() == "t");
            const xmlChar* v = xmlTextReaderConstValue(r(reader_));
            if (counts && v) {
                out += QString::fromUtf8(reinterpret_cast<const char*>(v));
            }
        }
    }
}

}  // namespace sortilo::xls
