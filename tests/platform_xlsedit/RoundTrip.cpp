#include "RoundTrip.h"

#include "platform/xlsedit/BiffRecords.h"
#include "platform/xlsedit/CompoundFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <map>
#include <set>

using namespace sortilo::xlsedit;

void compareBooks(const XlrdBook& before, const XlrdBook& after, const QString& active,
                  const CellRect& range, const Written& written) {
    QVERIFY2(after.error.isEmpty(), qPrintable(after.error));
    QCOMPARE(after.sheets.size(), before.sheets.size());
    for (const XlrdSheet& old : before.sheets) {
        const XlrdSheet* now = after.sheet(old.name);
        QVERIFY2(now, qPrintable(old.name));
        if (old.name != active) {
            QVERIFY2(now->cells == old.cells, qPrintable(old.name));
            continue;
        }
        for (auto it = old.cells.begin(); it != old.cells.end(); ++it) {
            const auto [row, col] = it.key();
            const QJsonArray cell = now->cells.value(it.key());
            const QString where = QStringLiteral("%1 (%2,%3)").arg(old.name).arg(row).arg(col);
            if (!range.contains(row, col)) {
                QVERIFY2(cell == it.value(), qPrintable(where));
            } else if (before.formatting && after.formatting) {
                QVERIFY2(!cell.isEmpty(), qPrintable(where));  // the formatted cell stays
                QVERIFY2(cell[2] == it.value()[2], qPrintable(where + " format"));
            }
        }
        for (auto it = now->cells.begin(); it != now->cells.end(); ++it) {
            if (!range.contains(it.key().first, it.key().second))
                QVERIFY(old.cells.contains(it.key()));
            else if (written.contains(it.key()))
                QCOMPARE(it.value()[1].toString(), written.value(it.key()));
            else
                QCOMPARE(it.value()[0].toInt(), int(XlrdBlank));
        }
        for (auto it = written.begin(); it != written.end(); ++it)
            QCOMPARE(now->cells.value(it.key())[0].toInt(), int(XlrdText));
    }
}

namespace {

struct Parsed {
    RecordStream stream;
    std::map<uint32_t, int> at;  // record offset -> index
    std::vector<int> sheetSections;
};

// The Workbook stream of a file, split into records; nullptr when it cannot be read.
CfbNode* readWorkbook(const QString& path, CompoundFile& cfb, RecordStream& stream) {
    QFile f(path);
    QString reason;
    if (!f.open(QIODevice::ReadOnly) || !readCompoundFile(f.readAll(), cfb, reason))
        return nullptr;
    CfbNode* wb = findStream(cfb.root, QStringLiteral("Workbook"));
    if (!wb)
        wb = findStream(cfb.root, QStringLiteral("Book"));
    return wb && splitRecords(wb->data, stream, reason) ? wb : nullptr;
}

bool parseFile(const QString& path, Parsed& p) {
    CompoundFile cfb;
    if (!readWorkbook(path, cfb, p.stream))
        return false;
    for (size_t i = 0; i < p.stream.records.size(); ++i)
        p.at[p.stream.records[i].offset] = int(i);
    for (int i = p.stream.sections[0].first; i < p.stream.sections[0].end; ++i) {
        if (p.stream.records[size_t(i)].type != rec::BoundSheet)
            continue;
        const auto found = p.at.find(le32(p.stream.body(i)));
        const int section = found == p.at.end() ? -1 : found->second;
        p.sheetSections.push_back(section);
    }
    return true;
}

uint16_t typeAt(const Parsed& p, uint32_t offset) {
    const auto found = p.at.find(offset);
    return found == p.at.end() ? 0xFFFF : p.stream.records[size_t(found->second)].type;
}

// INDEX entries of the sheet starting at record `bof` that land on a DBCELL whose offsets
// lead back to a ROW record and forward to record starts.
int validDbCells(const Parsed& p, int bof, bool& hasIndex, int* entries = nullptr) {
    int valid = 0;
    hasIndex = false;
    for (int i = bof + 1; i < int(p.stream.records.size()); ++i) {
        const Record& r = p.stream.records[size_t(i)];
        if (r.type == rec::Eof || r.type == rec::Bof)
            break;
        if (r.type != rec::Index || r.length < 16)
            continue;
        hasIndex = true;
        if (entries)
            *entries += (r.length - 16) / 4;
        for (int k = 16; k + 4 <= r.length; k += 4) {
            const uint32_t db = le32(p.stream.body(r) + k);
            if (typeAt(p, db) != rec::DbCell)
                continue;
            const Record& d = p.stream.records[size_t(p.at.at(db))];
            uint32_t pos = db - le32(p.stream.body(d));
            bool ok = typeAt(p, pos) == rec::Row;
            pos += 20;
            for (int j = 4; ok && j + 2 <= d.length; j += 2) {
                pos += le16(p.stream.body(d) + j);
                ok = typeAt(p, pos) != 0xFFFF;
            }
            valid += ok ? 1 : 0;
        }
    }
    return valid;
}

bool isCellRecord(uint16_t t) {
    return t == rec::Formula || t == rec::MulRk || t == rec::MulBlank || t == rec::RString ||
           t == rec::LabelSst || t == rec::Blank || t == rec::Number || t == rec::Label ||
           t == rec::BoolErr || t == rec::Rk;
}

void checkDimensions(const Parsed& p, int bof) {
    int r1 = 0x10000, r2 = -1, c1 = 0x10000, c2 = -1, depth = 0;
    const char* dims = nullptr;
    for (int i = bof; i < int(p.stream.records.size()); ++i) {
        const Record& r = p.stream.records[size_t(i)];
        depth += r.type == rec::Bof ? 1 : (r.type == rec::Eof ? -1 : 0);
        if (depth == 0)
            break;
        if (depth != 1)
            continue;
        const char* b = p.stream.body(r);
        if (r.type == rec::Dimensions && !dims)
            dims = b;
        if (r.type == rec::Row) {  // rows count even without cells, as Excel counts them
            r1 = std::min<int>(r1, le16(b));
            r2 = std::max<int>(r2, le16(b));
        }
        if (!isCellRecord(r.type))
            continue;
        const int last =
            r.type == rec::MulRk || r.type == rec::MulBlank ? le16(b + r.length - 2) : le16(b + 2);
        r1 = std::min<int>(r1, le16(b));
        r2 = std::max<int>(r2, le16(b));
        c1 = std::min<int>(c1, le16(b + 2));
        c2 = std::max(c2, last);
    }
    QVERIFY(dims);
    if (r2 < 0)
        return;
    QCOMPARE(int(le32(dims)), r1);
    QCOMPARE(int(le32(dims + 4)), r2 + 1);
    if (c2 < 0)
        return;
    QCOMPARE(int(le16(dims + 8)), c1);
    QCOMPARE(int(le16(dims + 10)), c2 + 1);
}

}  // namespace

void checkStructure(const QString& original, const QString& saved, int activeSheet) {
    Parsed before, after;
    QVERIFY(parseFile(original, before));
    QVERIFY(parseFile(saved, after));
    QCOMPARE(after.sheetSections.size(), before.sheetSections.size());
    for (size_t s = 0; s < after.sheetSections.size(); ++s) {
        QVERIFY2(after.sheetSections[s] >= 0, "sheet offset off a record");
        QCOMPARE(after.stream.records[size_t(after.sheetSections[s])].type, rec::Bof);
        bool hadIndex = false, hasIndex = false;
        const int now = validDbCells(after, after.sheetSections[s], hasIndex);
        if (int(s) == activeSheet) {
            validDbCells(before, before.sheetSections[s], hadIndex);
            QCOMPARE(hasIndex, hadIndex);
            int entries = 0;
            const int valid = validDbCells(after, after.sheetSections[s], hasIndex, &entries);
            QCOMPARE(valid, entries);
            checkDimensions(after, after.sheetSections[s]);
        } else if (before.sheetSections[s] >= 0) {
            QCOMPARE(now, validDbCells(before, before.sheetSections[s], hadIndex));
        }
    }
    // EXTSST: each bucket names a position inside the SST or one of its CONTINUEs.
    for (size_t i = 0; i < after.stream.records.size(); ++i) {
        const Record& r = after.stream.records[i];
        if (r.type != rec::ExtSst)
            continue;
        for (int k = 2; k + 8 <= r.length; k += 8) {
            const uint32_t ib = le32(after.stream.body(r) + k);
            const uint16_t cb = le16(after.stream.body(r) + k + 4);
            const uint32_t start = ib - cb;
            QVERIFY(typeAt(after, start) == rec::Sst || typeAt(after, start) == rec::Continue);
        }
    }
}

bool writeAltered(const QString& original, const QString& path,
                  const std::function<void(RecordStream&)>& change) {
    CompoundFile cfb;
    RecordStream stream;
    CfbNode* wb = readWorkbook(original, cfb, stream);
    if (!wb)
        return false;
    change(stream);
    wb->data = stream.bytes;
    QByteArray bytes;
    QString reason;
    QFile out(path);
    return writeCompoundFile(cfb, bytes, reason) && out.open(QIODevice::WriteOnly) &&
           out.write(bytes) == bytes.size();
}

QString corpusFile(const QString& name) {
    return QDir(qEnvironmentVariable("SORTILO_CORPUS_DIR")).filePath(name);
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

namespace {

struct BiffRecord {
    uint16_t type = 0;
    QByteArray body;
};
using Substream = QVector<BiffRecord>;

// The records the marks are read from, at the level of their own substream: the globals, then
// each sheet in tab order. Each starts with its BOF and the record after it.
QVector<Substream> substreams(const QString& path) {
    CompoundFile cfb;
    RecordStream stream;
    QVector<Substream> out;
    if (!readWorkbook(path, cfb, stream))
        return out;
    std::map<uint32_t, int> bofs;
    for (const Section& s : stream.sections)
        bofs[s.begin] = s.first;
    std::vector<int> starts{0};
    for (int i = stream.sections[0].first; i < stream.sections[0].end; ++i) {
        if (stream.records[size_t(i)].type == rec::BoundSheet)
            starts.push_back(bofs.count(le32(stream.body(i))) ? bofs[le32(stream.body(i))] : -1);
    }
    const std::set<uint16_t> wanted{rec::Formula, rec::Uncalced, rec::RecalcId,
                                    rec::Window2, rec::Pane,     rec::Selection};
    for (int bof : starts) {
        out.push_back({});
        for (int i = bof, depth = 0; bof >= 0 && i < int(stream.records.size()); ++i) {
            const Record& r = stream.records[size_t(i)];
            depth += r.type == rec::Bof ? 1 : (r.type == rec::Eof ? -1 : 0);
            if (depth == 0)
                break;
            if (depth == 1 && (i - bof < 2 || wanted.count(r.type)))
                out.back().push_back({r.type, QByteArray(stream.body(r), r.length)});
        }
    }
    return out;
}

// The original's view of the sheet as an export must leave it.
QByteArray expectedView(const BiffRecord& r, bool& frozen, int& pane) {
    QByteArray b = r.body;
    if (r.type == rec::Window2) {
        frozen = le16(b.constData()) & 0x0008;
        pane = 3;
        return b.replace(2, 4, QByteArray(4, '\0'));
    }
    if (r.type == rec::Pane) {
        pane = uint8_t(b[8]);
        return b.replace(4, 4, frozen ? b.mid(2, 2) + b.mid(0, 2) : QByteArray(4, '\0'));
    }
    if (uint8_t(b[0]) != pane)
        return b;
    return b.left(1) + QByteArray::fromHex(
                           "000000000000"
                           "0100"
                           "000000000000");  // A1, one range: A1:A1
}

}  // namespace

void checkExportMarks(const QString& original, const QString& saved, int activeSheet) {
    const QVector<Substream> before = substreams(original), after = substreams(saved);
    QCOMPARE(after.size(), before.size());
    for (const BiffRecord& r : after[0]) {
        if (r.type == rec::RecalcId)
            QCOMPARE(le32(r.body.constData() + 4), 0u);
    }
    for (qsizetype s = 1; s < after.size(); ++s) {
        int formulas = 0, uncalced = 0;
        for (const BiffRecord& r : after[s]) {
            uncalced += r.type == rec::Uncalced ? 1 : 0;
            formulas += r.type == rec::Formula ? 1 : 0;
            if (r.type == rec::Formula)
                QVERIFY(r.body[kFormulaFlags] & kFormulaAlwaysCalc);
        }
        QCOMPARE(uncalced, formulas > 0 ? 1 : 0);
        QVERIFY(formulas == 0 || after[s][1].type == rec::Uncalced);
    }
    const auto views = [](const Substream& sheet) {
        Substream out;
        for (const BiffRecord& r : sheet) {
            if (r.type == rec::Window2 || r.type == rec::Pane || r.type == rec::Selection)
                out.push_back(r);
        }
        return out;
    };
    const Substream old = views(before[activeSheet + 1]), now = views(after[activeSheet + 1]);
    QCOMPARE(now.size(), old.size());
    bool frozen = false;
    int pane = 3;
    for (qsizetype i = 0; i < now.size(); ++i)
        QCOMPARE(now[i].body.toHex(), expectedView(old[i], frozen, pane).toHex());
}
