#include "platform/xls/XmlReader.h"

#include <QDateTime>
#include <QTimeZone>

#include <libxml/xmlreader.h>

#include <map>

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

XmlReader::XmlReader(const QByteArray& xml, bool utf8) {
    reader_ =
        xmlReaderForMemory(xml.constData(), int(xml.size()), nullptr, utf8 ? "UTF-8" : nullptr,
                           XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                               (utf8 ? XML_PARSE_IGNORE_ENC : 0));
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

bool xmlTrue(const QString& v) {
    return v == QLatin1String("1") || v == QLatin1String("true");
}

uint8_t errorCodeOf(const QString& e) {
    static const std::map<QString, uint8_t> codes = {
        {QStringLiteral("#NULL!"), 0x00},  {QStringLiteral("#DIV/0!"), 0x07},
        {QStringLiteral("#VALUE!"), 0x0F}, {QStringLiteral("#REF!"), 0x17},
        {QStringLiteral("#NAME?"), 0x1D},  {QStringLiteral("#NUM!"), 0x24},
        {QStringLiteral("#N/A"), 0x2A},    {QStringLiteral("#GETTING_DATA"), 0x2B}};
    const auto it = codes.find(e.trimmed());
    return it == codes.end() ? 0x2A : it->second;
}

double isoSerial(const QString& iso) {
    QDateTime dt = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!dt.isValid()) {
        dt = QDateTime(QDate::fromString(iso, Qt::ISODate), QTime(0, 0));
    }
    dt.setTimeSpec(Qt::UTC);
    const QDateTime epoch(QDate(1899, 12, 30), QTime(0, 0), Qt::UTC);
    double serial = double(epoch.msecsTo(dt)) / 86400000.0;
    return serial < 61 ? serial - 1 : serial;  // before March 1900 serials skip the 29th
}

}  // namespace sortilo::xls
