#include "platform/xlsedit/BiffRecords.h"

namespace sortilo::xlsedit {

void appendRecord(QByteArray& out, uint16_t type, const char* body, int length) {
    char header[4];
    put16(header, type);
    put16(header + 2, uint32_t(length));
    out.append(header, 4);
    out.append(body, length);
}

bool splitRecords(const QByteArray& stream, RecordStream& out, QString& reason) {
    out.bytes = stream;
    out.records.clear();
    out.sections.clear();
    out.trailing.clear();
    const char* data = stream.constData();
    const auto size = uint32_t(stream.size());
    uint32_t pos = 0;
    int depth = 0;
    while (pos + 4 <= size) {
        const uint16_t type = le16(data + pos);
        const uint16_t length = le16(data + pos + 2);
        if (pos + 4 + length > size) {
            if (depth > 0) {
                reason = QStringLiteral("record at byte %1 runs past the stream's end").arg(pos);
                return false;
            }
            break;
        }
        const int index = int(out.records.size());
        out.records.push_back({type, length, pos});
        if (type == rec::Bof && depth == 0) {
            Section s;
            s.substream = true;
            s.bofType = length >= 4 ? le16(data + pos + 6) : 0;
            s.first = index;
            s.begin = pos;
            out.sections.push_back(s);
        } else if (depth == 0 && (out.sections.empty() || out.sections.back().substream)) {
            Section s;
            s.first = index;
            s.begin = pos;
            out.sections.push_back(s);
        }
        if (type == rec::Bof)
            ++depth;
        else if (type == rec::Eof && depth > 0)
            --depth;
        else if (type == rec::Window2 && depth == 1 && length >= 2)
            out.sections.back().windowFlags.push_back(le16(data + pos + 4));
        pos += 4 + length;
        out.sections.back().end = index + 1;
        out.sections.back().stop = pos;
    }
    if (depth > 0) {
        reason = QStringLiteral("the stream ends inside a sheet");
        return false;
    }
    out.trailing = stream.mid(pos);
    return true;
}

}  // namespace sortilo::xlsedit
