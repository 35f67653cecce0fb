#include "platform/xls/HtmlReader.h"

#include "platform/xls/Charset.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace sortilo::xls {

namespace {

constexpr uint32_t MaxRow = 1048576;
constexpr uint32_t MaxColumn = 16384;

// The elements the layout tells apart; the rest only hold text.
enum class Tag { Other, Table, Row, Cell, Caption, Footer, Break, Division, Block, Unseen };

// By the element's (lower case) name, the frequent ones first.
Tag tagOf(std::string_view name) {
    static constexpr std::pair<std::string_view, Tag> tags[] = {
        {"td", Tag::Cell},
        {"tr", Tag::Row},
        {"th", Tag::Cell},
        {"br", Tag::Break},
        {"p", Tag::Block},
        {"div", Tag::Division},
        {"table", Tag::Table},
        {"tfoot", Tag::Footer},
        {"caption", Tag::Caption},
        // content a browser does not show
        {"head", Tag::Unseen},
        {"script", Tag::Unseen},
        {"style", Tag::Unseen},
        {"title", Tag::Unseen},
        {"template", Tag::Unseen},
        {"xml", Tag::Unseen},
        // elements that begin a line of their own: outside tables a row, in a cell a line break
        {"h1", Tag::Block},
        {"h2", Tag::Block},
        {"h3", Tag::Block},
        {"h4", Tag::Block},
        {"h5", Tag::Block},
        {"h6", Tag::Block},
        {"ul", Tag::Block},
        {"ol", Tag::Block},
        {"li", Tag::Block},
        {"pre", Tag::Block},
        {"dl", Tag::Block},
        {"blockquote", Tag::Block},
        {"hr", Tag::Block}};
    for (const auto& [n, tag] : tags) {
        if (n == name) {
            return tag;
        }
    }
    return Tag::Other;
}

// Ends a block of text outside tables.
bool endsBlock(Tag tag) {
    return tag == Tag::Block || tag == Tag::Division || tag == Tag::Caption;
}

uint32_t span(const xmlChar** attributes, const char* name, uint32_t most) {
    for (const xmlChar** a = attributes; a && a[0]; a += 2) {
        if (!std::strcmp(reinterpret_cast<const char*>(a[0]), name) && a[1]) {
            const long n = std::strtol(reinterpret_cast<const char*>(a[1]), nullptr, 10);
            return uint32_t(std::clamp<long>(n, 1, long(most)));
        }
    }
    return 1;
}

// Text as a browser shows it: runs of white space (the non-breaking space too) fold to one
// space, none at either end; <br> and paragraph ends are line breaks, none at the end.
class TextRun {
public:
    void add(const char* utf8, int size) {
        for (int i = 0; i < size;) {
            const int blank = blankAt(utf8, i, size);
            if (blank > 0) {
                i += blank;
                space_ = !text_.empty();
                continue;
            }
            int end = i + 1;
            while (end < size && blankAt(utf8, end, size) == 0) {
                ++end;
            }
            if (breaks_ > 0) {
                text_.append(size_t(breaks_), '\n');
            } else if (space_) {
                text_ += ' ';
            }
            breaks_ = 0;
            space_ = false;
            text_.append(utf8 + i, size_t(end - i));
            i = end;
        }
    }
    void lineBreak() { breaks_ += text_.empty() ? 0 : 1; }
    void paragraph() { breaks_ = std::max(breaks_, text_.empty() ? 0 : 1); }
    bool isEmpty() const { return text_.empty(); }
    QString take() {
        const QString text = QString::fromUtf8(text_.data(), qsizetype(text_.size()));
        text_.clear();  // keeps its buffer for the next cell
        breaks_ = 0;
        space_ = false;
        return text;
    }

private:
    // The bytes of white space at i: 1 for ASCII white space, 2 for U+00A0, else 0.
    static int blankAt(const char* s, int i, int size) {
        const char c = s[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
            return 1;
        }
        return c == '\xC2' && i + 1 < size && s[i + 1] == '\xA0' ? 2 : 0;
    }

    std::string text_;
    int breaks_ = 0;
    bool space_ = false;
};

// A table being laid out: where it stands, the row it is on and the cell open in it.
struct Table {
    uint32_t top = 1;
    uint32_t left = 1;
    uint32_t row = 1;         // the sheet row the current table row starts on
    uint32_t height = 0;      // rows the current table row takes; 0 while none is open
    uint32_t column = 0;      // the next free column of the row, from `left`
    int footer = 0;           // depth inside a <tfoot>: totals, not names, left out
    bool inCell = false;      // a cell or the caption is open
    bool caption = false;     // ... the caption
    uint32_t cellColumn = 0;  // the open cell's column, from `left`
    uint32_t cellRows = 0;    // rows its text and the tables inside it take
    TextRun text;
    std::vector<uint32_t> coveredTo;  // per column: the last row a cell above spans
};

// Lays the page out on one sheet as spreadsheet programs open it, from the parser's events:
// text blocks and tables one below the other, each table row a row, spans taken into account,
// a table inside a cell spread over the rows from the cell's down.
class PageLayout {
public:
    explicit PageLayout(CellStore& cells) : cells_(cells) {}

    void start(const char* name, const xmlChar** attributes) {
        const Tag tag = tagOf(name);
        if (unseen_ > 0 || tag == Tag::Unseen) {
            ++unseen_;
        } else if (!tables_.empty() && tables_.back().footer > 0) {
            ++tables_.back().footer;
        } else if (tag == Tag::Table) {
            startTable();
        } else if (tag == Tag::Break) {
            if (TextRun* run = currentRun()) {
                run->lineBreak();
            }
        } else if (tables_.empty()) {
            if (endsBlock(tag)) {
                endBlock();
            }
        } else {
            startInTable(tag, attributes);
        }
    }

    void end(const char* name) {
        const Tag tag = tagOf(name);
        if (unseen_ > 0) {
            --unseen_;
        } else if (!tables_.empty() && tables_.back().footer > 0) {
            --tables_.back().footer;
        } else if (tag == Tag::Table && !tables_.empty()) {
            endTable();
        } else if (tables_.empty()) {
            if (endsBlock(tag)) {
                endBlock();
            }
        } else if (tag == Tag::Cell || tag == Tag::Caption) {
            closeCell(tables_.back());
        } else if (tag == Tag::Row) {
            closeRow(tables_.back());
        } else if (tag == Tag::Block && tables_.back().inCell) {
            tables_.back().text.paragraph();
        }
    }

    void characters(const xmlChar* text, int size) {
        if (TextRun* run = unseen_ > 0 ? nullptr : currentRun()) {
            run->add(reinterpret_cast<const char*>(text), size);
        }
    }

    // Text outside tables, block by block: each a row.
    void endBlock() {
        if (!run_.isEmpty()) {
            const uint32_t row = nextItem(false);
            put(row, 1, run_.take());
            next_ = row + 1;
        }
    }

private:
    TextRun* currentRun() {
        if (tables_.empty()) {
            return &run_;
        }
        Table& t = tables_.back();
        return t.inCell && t.footer == 0 ? &t.text : nullptr;
    }

    // The row an item starts on: an empty row parts it from the one before, unless both are
    // tables.
    uint32_t nextItem(bool isTable) {
        const uint32_t row = next_ + (placed_ && !(isTable && lastWasTable_) ? 1 : 0);
        placed_ = true;
        lastWasTable_ = isTable;
        return row;
    }

    void put(uint32_t row, uint32_t column, QString text) {
        if (!text.isEmpty() && row <= MaxRow && column <= MaxColumn) {
            cells_.setText(row, column, std::move(text));
        }
    }

    void startTable() {
        Table t;
        if (tables_.empty()) {
            endBlock();
            t.top = nextItem(true);
        } else if (Table& outer = tables_.back(); outer.inCell && !outer.caption) {
            // Below what the cell holds so far.
            placeCellText(outer);
            t.top = outer.row + outer.cellRows;
            t.left = outer.left + outer.cellColumn;
        } else {
            unseen_ = 1;  // a table straight inside a table or its caption shows nothing
            return;
        }
        t.row = t.top;
        tables_.push_back(std::move(t));
    }

    void endTable() {
        Table& t = tables_.back();
        closeRow(t);
        const uint32_t bottom = t.row;
        tables_.pop_back();
        if (tables_.empty()) {
            next_ = bottom;
        } else {
            Table& outer = tables_.back();
            outer.cellRows = std::max(outer.cellRows, bottom - outer.row);
        }
    }

    void startInTable(Tag tag, const xmlChar** attributes) {
        Table& t = tables_.back();
        if (tag == Tag::Footer) {
            closeRow(t);
            t.footer = 1;
        } else if (tag == Tag::Row) {
            closeRow(t);
            t.height = 1;
        } else if (tag == Tag::Cell) {
            openCell(t, attributes);
        } else if (tag == Tag::Caption && t.height == 0 && !t.inCell) {
            t.inCell = t.caption = true;
        } else if (tag == Tag::Block && t.inCell) {
            t.text.paragraph();
        }
    }

    void openCell(Table& t, const xmlChar** attributes) {
        closeCell(t);
        t.height = std::max(t.height, 1u);  // cells outside any <tr> make a row together
        while (t.column < t.coveredTo.size() && t.coveredTo[t.column] >= t.row) {
            ++t.column;
        }
        const uint32_t across = span(attributes, "colspan", 1000);
        const uint32_t down = span(attributes, "rowspan", 65534);
        t.inCell = true;
        t.cellColumn = t.column;
        t.cellRows = 0;
        if (t.left + t.column <= MaxColumn) {
            t.coveredTo.resize(std::max<size_t>(t.coveredTo.size(), t.column + across), 0);
            for (uint32_t c = t.column; c < t.column + across; ++c) {
                t.coveredTo[c] = std::max(t.coveredTo[c], t.row + down - 1);
            }
            t.column += across;
        }
    }

    void closeCell(Table& t) {
        if (!t.inCell) {
            return;
        }
        t.inCell = false;
        if (t.caption) {
            t.caption = false;
            if (!t.text.isEmpty()) {
                put(t.row++, t.left, t.text.take());
            }
            return;
        }
        placeCellText(t);
        t.height = std::max(t.height, t.cellRows);
    }

    // The cell's text so far takes the row below what the cell holds: its first text the
    // cell's row, text after a table inside it the row below that table.
    void placeCellText(Table& t) {
        if (!t.text.isEmpty()) {
            put(t.row + t.cellRows, t.left + t.cellColumn, t.text.take());
            ++t.cellRows;
        }
    }

    void closeRow(Table& t) {
        closeCell(t);
        t.row += t.height;
        t.height = 0;
        t.column = 0;
    }

    CellStore& cells_;
    std::vector<Table> tables_;  // the open tables, innermost last
    int unseen_ = 0;             // depth inside content a browser does not show
    TextRun run_;                // text outside tables
    uint32_t next_ = 1;          // the first row below what is placed
    bool placed_ = false;
    bool lastWasTable_ = false;
};

}  // namespace

Result<void> readHtmlWorkbook(const QByteArray& file, Workbook::Parts& out) {
    // Decoded here, so the Chinese labels read as their superset (libxml2 takes gb2312 strictly).
    const QByteArray utf8 = decodeTextToUtf8(file, declaredCharset(file, "charset="));
    // The page is laid out from the parser's events; no document tree is built (it would take
    // most of the time of reading a long roster). The push parser, given the page in one
    // piece, is the quicker of libxml2's two ways through it.
    // Room for the cells of a plain table (some 16 bytes a cell) saves regrowing.
    out.cells.reserve(std::min<size_t>(size_t(utf8.size()) / 16, 1u << 20));
    PageLayout page(out.cells);
    htmlSAXHandler sax{};
    sax.initialized = 1;
    sax.startElement = [](void* p, const xmlChar* name, const xmlChar** attributes) {
        static_cast<PageLayout*>(p)->start(reinterpret_cast<const char*>(name), attributes);
    };
    sax.endElement = [](void* p, const xmlChar* name) {
        static_cast<PageLayout*>(p)->end(reinterpret_cast<const char*>(name));
    };
    sax.characters = [](void* p, const xmlChar* text, int size) {
        static_cast<PageLayout*>(p)->characters(text, size);
    };
    sax.ignorableWhitespace = sax.characters;
    std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> parser(
        htmlCreatePushParserCtxt(&sax, &page, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8),
        htmlFreeParserCtxt);
    if (!parser) {
        return fault(ErrorKind::Corrupt, QStringLiteral("the page cannot be parsed as HTML"));
    }
    htmlCtxtUseOptions(parser.get(), HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                                         HTML_PARSE_IGNORE_ENC);
    htmlParseChunk(parser.get(), utf8.constData(), int(utf8.size()), 1);
    page.endBlock();
    out.format = WorkbookFormat::Html;
    out.sheets = {SheetInfo{QStringLiteral("Sheet1")}};
    out.active = 0;
    return {};
}

}  // namespace sortilo::xls
