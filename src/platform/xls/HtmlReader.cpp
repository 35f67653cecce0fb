#include "platform/xls/HtmlReader.h"

#include "platform/xls/Charset.h"

#include <libxml/HTMLparser.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace sortilo::xls {

namespace {

constexpr int MaxDepth = 256;  // markup nested deeper adds nothing a roster is made of
constexpr uint32_t MaxRow = 1048576;
constexpr uint32_t MaxColumn = 16384;

bool is(const xmlNode* n, const char* name) {
    return n->type == XML_ELEMENT_NODE && xmlStrEqual(n->name, BAD_CAST name);
}

template <size_t N>
bool isOneOf(const xmlNode* n, const char* const (&names)[N]) {
    return std::any_of(names, names + N, [n](const char* name) { return is(n, name); });
}

// Elements whose content a browser does not show.
bool isUnseen(const xmlNode* n) {
    static const char* const names[] = {"head", "script", "style", "title", "template", "xml"};
    return n->type == XML_COMMENT_NODE || isOneOf(n, names);
}

// Elements that begin a line of their own: outside tables a row, inside a cell a line break.
bool isBlock(const xmlNode* n) {
    static const char* const names[] = {"p",  "h1", "h2", "h3",  "h4", "h5",         "h6",
                                        "ul", "ol", "li", "pre", "dl", "blockquote", "hr"};
    return isOneOf(n, names);
}

bool isText(const xmlNode* n) {
    return n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE;
}

uint32_t span(const xmlNode* cell, const char* name, uint32_t most) {
    std::unique_ptr<xmlChar, decltype(xmlFree)> value(xmlGetProp(cell, BAD_CAST name), xmlFree);
    const long n = value ? std::strtol(reinterpret_cast<const char*>(value.get()), nullptr, 10) : 1;
    return uint32_t(std::clamp<long>(n, 1, long(most)));
}

// Text as a browser shows it: runs of white space (the non-breaking space too) fold to one
// space, none at either end; <br> and paragraph ends are line breaks, none at the end.
class TextRun {
public:
    void add(const xmlChar* utf8) {
        for (const QChar c : QString::fromUtf8(reinterpret_cast<const char*>(utf8))) {
            if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f' ||
                c == QChar(0xA0)) {
                space_ = !text_.isEmpty();
                continue;
            }
            if (breaks_ > 0) {
                text_ += QString(breaks_, u'\n');
            } else if (space_) {
                text_ += u' ';
            }
            breaks_ = 0;
            space_ = false;
            text_ += c;
        }
    }
    void lineBreak() { breaks_ += text_.isEmpty() ? 0 : 1; }
    void paragraph() { breaks_ = std::max(breaks_, text_.isEmpty() ? 0 : 1); }
    QString take() {
        QString text = std::move(text_);
        *this = TextRun();
        return text;
    }

private:
    QString text_;
    int breaks_ = 0;
    bool space_ = false;
};

// Lays the page out on one sheet: text blocks and tables one below the other, as spreadsheet
// programs open a page.
class PageLayout {
public:
    explicit PageLayout(CellStore& cells) : cells_(cells) {}

    // The flow of the page: text outside tables, block by block, and the tables.
    void flow(const xmlNode* parent, int depth) {
        for (const xmlNode* n = parent->children; n && depth < MaxDepth; n = n->next) {
            if (isText(n)) {
                run_.add(n->content);
            } else if (isUnseen(n) || n->type != XML_ELEMENT_NODE) {
                continue;
            } else if (is(n, "br")) {
                run_.lineBreak();
            } else if (is(n, "table")) {
                endBlock();
                const uint32_t top = nextItem(true);
                next_ = top + table(n, top, 1, depth + 1);
            } else if (isBlock(n) || is(n, "div") || is(n, "caption")) {
                endBlock();
                flow(n, depth + 1);
                endBlock();
            } else {
                flow(n, depth + 1);
            }
        }
    }
    void endBlock() {
        QString text = run_.take();
        if (!text.isEmpty()) {
            const uint32_t row = nextItem(false);
            put(row, 1, std::move(text));
            next_ = row + 1;
        }
    }

private:
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

    // A cell's own text; the tables inside it go to `tables`, they take rows of their own.
    static void cellText(const xmlNode* parent, TextRun& run, std::vector<const xmlNode*>& tables,
                         int depth) {
        for (const xmlNode* n = parent->children; n && depth < MaxDepth; n = n->next) {
            if (isText(n)) {
                run.add(n->content);
            } else if (isUnseen(n) || n->type != XML_ELEMENT_NODE) {
                continue;
            } else if (is(n, "br")) {
                run.lineBreak();
            } else if (is(n, "table")) {
                tables.push_back(n);
            } else if (isBlock(n)) {
                run.paragraph();
                cellText(n, run, tables, depth + 1);
                run.paragraph();
            } else {
                cellText(n, run, tables, depth + 1);
            }
        }
    }

    // The rows of a table: its <tr>s (in <thead> and <tbody> too; a <tfoot> holds totals, not
    // names, and is left out) and cells standing outside any <tr>, which make a row together.
    static void gatherRows(const xmlNode* parent, std::vector<std::vector<const xmlNode*>>& rows,
                           const xmlNode*& caption, int depth) {
        bool loose = false;
        for (const xmlNode* n = parent->children; n && depth < MaxDepth; n = n->next) {
            if (is(n, "td") || is(n, "th")) {
                if (!loose) {
                    rows.emplace_back();
                }
                rows.back().push_back(n);
                loose = true;
                continue;
            }
            loose = loose && n->type != XML_ELEMENT_NODE;
            if (is(n, "tr")) {
                rows.emplace_back();
                for (const xmlNode* c = n->children; c; c = c->next) {
                    if (is(c, "td") || is(c, "th")) {
                        rows.back().push_back(c);
                    }
                }
            } else if (is(n, "caption")) {
                caption = caption ? caption : n;
            } else if (n->type == XML_ELEMENT_NODE && !is(n, "tfoot") && !is(n, "table") &&
                       !isUnseen(n)) {
                gatherRows(n, rows, caption, depth + 1);
            }
        }
    }

    // Places a table with its top left cell at (top, left); returns the rows it takes. A table
    // inside a cell spreads over the rows below the cell's text, as spreadsheet programs do.
    uint32_t table(const xmlNode* t, uint32_t top, uint32_t left, int depth) {
        std::vector<std::vector<const xmlNode*>> rows;
        const xmlNode* caption = nullptr;
        gatherRows(t, rows, caption, depth);
        uint32_t row = top;
        if (caption) {
            std::vector<const xmlNode*> ignored;
            TextRun run;
            cellText(caption, run, ignored, depth);
            if (QString text = run.take(); !text.isEmpty()) {
                put(row++, left, std::move(text));
            }
        }
        std::vector<uint32_t> coveredTo;  // per column: the last row a cell above spans
        for (const auto& cells : rows) {
            uint32_t column = 0;
            uint32_t height = 1;
            for (const xmlNode* cell : cells) {
                while (column < coveredTo.size() && coveredTo[column] >= row) {
                    ++column;
                }
                if (left + column > MaxColumn || row > MaxRow) {
                    break;
                }
                const uint32_t across = span(cell, "colspan", 1000);
                const uint32_t down = span(cell, "rowspan", 65534);
                TextRun run;
                std::vector<const xmlNode*> inner;
                cellText(cell, run, inner, depth + 1);
                QString text = run.take();
                uint32_t used = text.isEmpty() ? 0 : 1;
                put(row, left + column, std::move(text));
                for (const xmlNode* in : inner) {
                    used += table(in, row + used, left + column, depth + 1);
                }
                height = std::max(height, used);
                coveredTo.resize(std::max<size_t>(coveredTo.size(), column + across), 0);
                for (uint32_t c = column; c < column + across; ++c) {
                    coveredTo[c] = std::max(coveredTo[c], row + down - 1);
                }
                column += across;
            }
            row += height;
        }
        return row - top;
    }

    CellStore& cells_;
    TextRun run_;
    uint32_t next_ = 1;
    bool placed_ = false;
    bool lastWasTable_ = false;
};

}  // namespace

Result<void> readHtmlWorkbook(const QByteArray& file, Workbook::Parts& out) {
    // Decoded here, so the Chinese labels read as their superset (libxml2 takes gb2312 strictly).
    const QByteArray utf8 = decodeText(file, declaredCharset(file, "charset=")).toUtf8();
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(
        htmlReadMemory(
            utf8.constData(), int(utf8.size()), nullptr, "UTF-8",
            HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_IGNORE_ENC),
        xmlFreeDoc);
    if (!doc) {
        return fault(ErrorKind::Corrupt, QStringLiteral("the page cannot be parsed as HTML"));
    }
    PageLayout page(out.cells);
    page.flow(reinterpret_cast<const xmlNode*>(doc.get()), 0);
    page.endBlock();
    out.format = WorkbookFormat::Html;
    out.sheets = {SheetInfo{QStringLiteral("Sheet1")}};
    out.active = 0;
    return {};
}

}  // namespace sortilo::xls
