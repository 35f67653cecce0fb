#include "RoundTrip.h"

#include "platform/xls/Container.h"
#include "platform/xlsedit/CompoundFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <algorithm>
#include <map>

using namespace sortilo;
using namespace sortilo::xls;
using sortilo::xlsedit::CellRect;

namespace {

// Text in a merged area shows only in its first cell: no written cell may lie anywhere else in
// one. Areas that take in no written cell stay, and none is new.
void compareMerged(const XlrdSheet& old, const XlrdSheet& now, const Written& written) {
    const auto holds = [&](const QRect& area, bool first) {
        return std::count_if(written.keyBegin(), written.keyEnd(), [&](const auto& k) {
            const QPoint cell(k.second, k.first);
            return area.contains(cell) && (first || cell != area.topLeft());
        });
    };
    for (const QRect& area : now.merged) {
        QCOMPARE(holds(area, false), 0);
        QVERIFY(old.merged.contains(area));
    }
    for (const QRect& area : old.merged) {
        QVERIFY(holds(area, true) > 0 || now.merged.contains(area));
    }
}

// A workbook stream split into records, with each record by its offset and each sheet's BOF
// record by its tab (-1 where its BOUNDSHEET offset is off a record).
struct Parsed {
    CompoundFile file;
    int entry = -1;
    RecordStream stream;
    std::map<uint32_t, int> at;
    std::vector<int> sheets;

    uint16_t typeAt(uint32_t offset) const {
        const auto found = at.find(offset);
        return found == at.end() ? 0xFFFF : stream.records[size_t(found->second)].type;
    }
    // The records of a substream at its own level (not those of charts inside), from its BOF.
    std::vector<int> level(int bof) const {
        std::vector<int> out;
        for (int i = bof, depth = 0; bof >= 0 && i < int(stream.records.size()); ++i) {
            const uint16_t type = stream.records[size_t(i)].type;
            depth += type == rec::Bof ? 1 : (type == rec::Eof ? -1 : 0);
            if (depth == 0) {
                break;
            }
            if (depth == 1 || type == rec::Bof) {
                out.push_back(i);
            }
        }
        return out;
    }
    // Those of them of the given types.
    std::vector<int> ofType(int bof, std::initializer_list<uint16_t> types) const {
        std::vector<int> out = level(bof);
        std::erase_if(out, [&](int i) {
            return std::find(types.begin(), types.end(), stream.records[size_t(i)].type) ==
                   types.end();
        });
        return out;
    }
    QByteArray bodyOf(int i) const {
        return QByteArray(stream.body(i), stream.records[size_t(i)].length);
    }
};

Parsed parse(const QString& path) {
    Parsed p;
    Result<CompoundFile> file = readCompoundFile(fileBytes(path));
    int wb = file ? findStream(file->root, QStringLiteral("Workbook")) : -1;
    wb = wb >= 0 || !file ? wb : findStream(file->root, QStringLiteral("Book"));
    if (wb < 0) {
        return p;
    }
    p.file = std::move(*file);
    p.entry = wb;
    p.stream = splitRecords(p.file.root.children[size_t(wb)].data);
    for (size_t i = 0; i < p.stream.records.size(); ++i) {
        p.at[p.stream.records[i].offset] = int(i);
    }
    for (int i : p.ofType(0, {rec::BoundSheet})) {
        const auto found = p.at.find(le32(p.stream.body(i)));
        p.sheets.push_back(found == p.at.end() ? -1 : found->second);
    }
    return p;
}

// INDEX entries of a sheet that land on a DBCELL whose offsets lead back to a ROW record and
// forward to record starts; and how many entries it has (-1: no INDEX).
std::pair<int, int> validDbCells(const Parsed& p, int bof) {
    int valid = 0, entries = -1;
    for (int i : p.ofType(bof, {rec::Index})) {
        const Record& r = p.stream.records[size_t(i)];
        if (r.length < 16 || entries >= 0) {
            continue;
        }
        entries = (r.length - 16) / 4;
        for (int k = 16; k + 4 <= r.length; k += 4) {
            const uint32_t db = le32(p.stream.body(r) + k);
            if (p.typeAt(db) != rec::DbCell) {
                continue;
            }
            const Record& d = p.stream.records[size_t(p.at.at(db))];
            uint32_t pos = db - le32(p.stream.body(d));
            bool ok = p.typeAt(pos) == rec::Row;
            pos += 20;
            for (int j = 4; ok && j + 2 <= d.length; j += 2) {
                pos += le16(p.stream.body(d) + j);
                ok = p.typeAt(pos) != 0xFFFF;
            }
            valid += ok ? 1 : 0;
        }
    }
    return {valid, entries};
}

// DIMENSIONS: the rows as Excel counts them (those with a ROW record too), the cells' columns.
void checkDimensions(const Parsed& p, int bof) {
    int r1 = 0x10000, r2 = -1, c1 = 0x10000, c2 = -1;
    const char* dims = nullptr;
    for (int i : p.level(bof)) {
        const Record& r = p.stream.records[size_t(i)];
        const char* b = p.stream.body(r);
        dims = r.type == rec::Dimensions && !dims ? b : dims;
        if (r.type != rec::Row && !isCellRecord(r.type)) {
            continue;
        }
        r1 = std::min<int>(r1, le16(b));
        r2 = std::max<int>(r2, le16(b));
        if (r.type == rec::Row) {
            continue;
        }
        const bool multi = r.type == rec::MulRk || r.type == rec::MulBlank;
        c1 = std::min<int>(c1, le16(b + 2));
        c2 = std::max<int>(c2, multi ? le16(b + r.length - 2) : le16(b + 2));
    }
    QVERIFY(dims);
    const QList<int> found{int(le32(dims)), int(le32(dims + 4)), le16(dims + 8), le16(dims + 10)};
    QCOMPARE(found, (QList<int>{r2 < 0 ? found[0] : r1, r2 < 0 ? found[1] : r2 + 1,
                                c2 < 0 ? found[2] : c1, c2 < 0 ? found[3] : c2 + 1}));
}

// The original's view of the sheet as an export must leave it.
QByteArray expectedView(uint16_t type, QByteArray b, bool& frozen, int& pane) {
    if (type == rec::Window2) {
        frozen = le16(b.constData()) & 0x0008;
        pane = 3;
        return b.replace(2, 4, QByteArray(4, '\0'));
    }
    if (type == rec::Pane) {
        pane = uint8_t(b[8]);
        return b.replace(4, 4, frozen ? b.mid(2, 2) + b.mid(0, 2) : QByteArray(4, '\0'));
    }
    // A1 the active cell, one range: A1:A1.
    return uint8_t(b[0]) != pane ? b
                                 : b.left(1) + QByteArray::fromHex("0000000000000100000000000000");
}

}  // namespace

void compareBooks(const XlrdBook& before, const XlrdBook& after, const QString& active,
                  const CellRect& range, const Written& written) {
    QVERIFY2(after.error.isEmpty(), qPrintable(after.error));
    QCOMPARE(after.sheets.size(), before.sheets.size());
    for (const XlrdSheet& old : before.sheets) {
        const XlrdSheet* now = after.sheet(old.name);
        QVERIFY2(now, qPrintable(old.name));
        if (old.name != active) {
            QVERIFY2(now->cells == old.cells, qPrintable(old.name));
            QCOMPARE(now->merged, old.merged);
            continue;
        }
        compareMerged(old, *now, written);
        for (auto it = old.cells.begin(); it != old.cells.end(); ++it) {
            const auto [row, col] = it.key();
            const QJsonArray cell = now->cells.value(it.key());
            const QString where = QStringLiteral("%1 (%2,%3)").arg(old.name).arg(row).arg(col);
            if (!range.contains(row, col) && !written.contains(it.key())) {
                QVERIFY2(cell == it.value(), qPrintable(where));
            } else if (before.formatting && after.formatting) {
                QVERIFY2(!cell.isEmpty(), qPrintable(where));  // the formatted cell stays
                QVERIFY2(cell[2] == it.value()[2], qPrintable(where + " format"));
            }
        }
        for (auto it = now->cells.begin(); it != now->cells.end(); ++it) {
            const auto [row, col] = it.key();
            if (written.contains(it.key())) {
                QCOMPARE(it.value()[1].toString(), written.value(it.key()));
                // A new cell takes the format of its row, else of its column, as typed in.
                if (!old.cells.contains(it.key()) && before.formatting && after.formatting) {
                    QCOMPARE(it.value()[2].toInt(),
                             now->rowFormats.value(row, now->columnFormats.value(col, 15)));
                }
            } else if (!range.contains(row, col)) {
                QVERIFY(old.cells.contains(it.key()));
            } else {
                QCOMPARE(it.value()[0].toInt(), int(XlrdBlank));
            }
        }
        for (auto it = written.begin(); it != written.end(); ++it) {
            QCOMPARE(now->cells.value(it.key())[0].toInt(), int(XlrdText));
        }
    }
}

void checkStructure(const QString& original, const QString& saved, int activeSheet) {
    const Parsed before = parse(original), after = parse(saved);
    QCOMPARE(after.sheets.size(), before.sheets.size());
    for (size_t s = 0; s < after.sheets.size(); ++s) {
        QVERIFY2(after.sheets[s] >= 0, "sheet offset off a record");
        QCOMPARE(after.stream.records[size_t(after.sheets[s])].type, rec::Bof);
        const auto [valid, entries] = validDbCells(after, after.sheets[s]);
        if (int(s) == activeSheet) {
            QCOMPARE(entries >= 0, validDbCells(before, before.sheets[s]).second >= 0);
            QCOMPARE(valid, std::max(entries, 0));
            checkDimensions(after, after.sheets[s]);
        } else if (before.sheets[s] >= 0) {
            QCOMPARE(valid, validDbCells(before, before.sheets[s]).first);
        }
    }
    // EXTSST: each bucket names a position inside the SST or one of its CONTINUEs.
    for (const Record& r : after.stream.records) {
        for (int k = 2; r.type == rec::ExtSst && k + 8 <= r.length; k += 8) {
            const char* b = after.stream.body(r) + k;
            const uint16_t type = after.typeAt(le32(b) - le16(b + 4));
            QVERIFY(type == rec::Sst || type == rec::Continue);
        }
    }
}

bool writeAltered(const QString& original, const QString& path,
                  const std::function<void(RecordStream&)>& change) {
    Parsed p = parse(original);
    if (p.entry < 0) {
        return false;
    }
    change(p.stream);
    p.file.root.children[size_t(p.entry)].data = p.stream.bytes;
    const Result<QByteArray> bytes = xlsedit::writeCompoundFile(p.file);
    return bytes && writeBytes(path, *bytes);
}

QString copyIn(const QString& folder, const QString& file) {
    const QString path = QDir(folder).filePath(QStringLiteral("导出数据.xls"));
    return QFile::copy(corpusFile(file), path) ? path : QString();
}

void checkExportMarks(const QString& original, const QString& saved, int activeSheet) {
    const Parsed before = parse(original), after = parse(saved);
    for (int i : after.ofType(0, {rec::RecalcId})) {
        QCOMPARE(le32(after.stream.body(i) + 4), 0u);
    }
    for (int bof : after.sheets) {
        const std::vector<int> formulas = after.ofType(bof, {rec::Formula});
        for (int i : formulas) {
            QVERIFY(after.stream.body(i)[xlsedit::FormulaFlags] & xlsedit::FormulaAlwaysCalc);
        }
        const std::vector<int> uncalced = after.ofType(bof, {rec::Uncalced});
        QCOMPARE(uncalced, formulas.empty() ? std::vector<int>() : std::vector{bof + 1});
    }
    const std::initializer_list<uint16_t> viewTypes{rec::Window2, rec::Pane, rec::Selection};
    const std::vector<int> old = before.ofType(before.sheets[size_t(activeSheet)], viewTypes);
    const std::vector<int> now = after.ofType(after.sheets[size_t(activeSheet)], viewTypes);
    QCOMPARE(now.size(), old.size());
    bool frozen = false;
    int pane = 3;
    for (size_t i = 0; i < now.size(); ++i) {
        const uint16_t type = before.stream.records[size_t(old[i])].type;
        QCOMPARE(after.bodyOf(now[i]).toHex(),
                 expectedView(type, before.bodyOf(old[i]), frozen, pane).toHex());
    }
}
