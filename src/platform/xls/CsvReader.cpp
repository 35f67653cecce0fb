#include "platform/xls/CsvReader.h"

#include "platform/xls/Charset.h"
#include "platform/xls/XmlReader.h"

#include <array>

namespace sortilo::xls {

namespace {

bool endsLine(QChar c) {
    return c == u'\n' || c == u'\r';
}

// The separator found in most of the first lines (outside quotes); on a tie tab, then semicolon,
// then comma: commas turn up inside names and numbers, tabs hardly ever.
QChar guessSeparator(QStringView text) {
    const std::array<QChar, 3> candidates{u'\t', u';', u','};
    std::array<int, 3> lines{};
    std::array<bool, 3> seen{};
    bool quoted = false;
    int lineCount = 0;
    for (qsizetype i = 0; i < text.size() && lineCount < 20; ++i) {
        const QChar c = text[i];
        quoted = c == u'"' ? !quoted : quoted;
        if (!quoted && endsLine(c)) {
            for (size_t k = 0; k < 3; ++k) {
                lines[k] += seen[k] ? 1 : 0;
            }
            seen = {};
            ++lineCount;
        }
        for (size_t k = 0; k < 3; ++k) {
            seen[k] = seen[k] || (!quoted && c == candidates[k]);
        }
    }
    for (size_t k = 0; k < 3; ++k) {
        lines[k] += seen[k] ? 1 : 0;
    }
    size_t best = 2;
    for (size_t k : {1, 0}) {
        best = lines[k] >= lines[best] && lines[k] > 0 ? k : best;
    }
    return candidates[best];
}

// Splits the text into records and fields the way Python's csv module does: a quote opens a
// quoted field only at the start of a field; inside one, "" is a quote and line ends are kept;
// CR, LF and CRLF end a record.
class CsvParser {
public:
    CsvParser(CellStore& cells, QChar separator) : cells_(cells), separator_(separator) {}

    void parse(QStringView text) {
        for (qsizetype i = 0; i < text.size() && row_ <= MaxRow; ++i) {
            const QChar c = text[i];
            if (state_ == State::Quoted && c == u'"') {
                state_ = State::QuoteInQuoted;
            } else if (state_ == State::Quoted) {
                field_.append(c);
            } else if (state_ == State::QuoteInQuoted && c == u'"') {
                field_.append(c);
                state_ = State::Quoted;
            } else if (c == separator_) {
                endField();
            } else if (endsLine(c)) {
                endField();
                ++row_;
                col_ = 1;
                i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 1 : 0;
            } else if (state_ == State::Start && c == u'"') {
                state_ = State::Quoted;
            } else {
                field_.append(c);
                state_ = State::Plain;
            }
        }
        if (state_ != State::Start || !field_.isEmpty()) {
            endField();
        }
    }

private:
    enum class State { Start, Plain, Quoted, QuoteInQuoted };

    void endField() {
        if (!field_.isEmpty() && col_ <= MaxCol && row_ <= MaxRow) {
            cells_.setText(row_, col_, field_);
        }
        field_.clear();
        ++col_;
        state_ = State::Start;
    }

    CellStore& cells_;
    QChar separator_;
    State state_ = State::Start;
    QString field_;
    uint32_t row_ = 1;
    uint32_t col_ = 1;
};

}  // namespace

Result<void> readCsvWorkbook(const QByteArray& file, Workbook::Parts& out) {
    const QString decoded = decodeText(file);
    QStringView text(decoded);
    QChar separator;
    // "sep=;" on the first line names the separator; spreadsheet programs do not show it.
    if (text.startsWith(QLatin1String("sep=")) && text.size() >= 5 &&
        (text.size() == 5 || endsLine(text[5]))) {
        separator = text[4];
        text = text.sliced(5);
        text = text.sliced(text.startsWith(QLatin1String("\r\n")) ? 2 : qMin(text.size(), 1));
    } else {
        separator = guessSeparator(text);
    }
    CsvParser(out.cells, separator).parse(text);
    out.format = WorkbookFormat::Csv;
    out.sheets = {SheetInfo{QStringLiteral("Sheet1")}};
    out.active = 0;
    return {};
}

}  // namespace sortilo::xls
