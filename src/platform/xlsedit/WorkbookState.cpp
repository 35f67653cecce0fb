#include "platform/xlsedit/WorkbookState.h"

namespace sortilo::xlsedit {

using namespace xls;

namespace {

Error corrupt(const QString& detail) {
    return fault(ErrorKind::Corrupt, detail);
}

}  // namespace

// What the editor refuses beyond what reading refuses: other BIFF versions, anything cut short
// (it would be written back as it stands), and records that leave in doubt which sheet opens or
// where a sheet lies: a guess could overwrite a sheet other than the one the user sees.
Result<void> WorkbookState::check() const {
    const RecordStream& s = book.stream;
    const Globals& g = book.globals;
    const SheetPlacement& placement = book.placement;
    if (g.biff != 8) {
        return fileFault(ErrorKind::UnsupportedFormat, FileKind::Biff5);
    }
    if (!g.hasGlobals || s.unfinished || g.shortSheetRecord || book.file.root.damaged) {
        return corrupt(QStringLiteral("the workbook's records or container are cut short"));
    }
    if (g.sstRecord >= 0 && !g.sst.whole()) {
        return corrupt(QStringLiteral("the shared string table is cut short"));
    }
    if (!placement.doubt.isEmpty()) {
        return fault(ErrorKind::NotEditable, placement.doubt);
    }
    if (placement.active < 0) {
        return fault(ErrorKind::NoSheetToWrite, QStringLiteral("the workbook lists no sheets"));
    }
    for (size_t i = 0; i < placement.sections.size(); ++i) {
        if (placement.sections[i] < 0) {
            return corrupt(QStringLiteral("the records of sheet \"%1\" are missing")
                               .arg(g.directory.sheets[i].name));
        }
    }
    const SheetInfo& sheet = g.directory.sheets[size_t(placement.active)];
    const Section& section = s.sections[size_t(placement.sections[size_t(placement.active)])];
    if (sheet.type != SheetInfo::Type::Worksheet || section.bofType != 0x0010) {
        return fault(
            ErrorKind::NoSheetToWrite,
            QStringLiteral("the sheet that opens, \"%1\", is no worksheet").arg(sheet.name));
    }
    return {};
}

Result<void> WorkbookState::load(const QByteArray& bytes) {
    Result<BiffBook> read = readBiffBook(bytes, nullptr);
    if (!read) {
        return read.error();
    }
    book = std::move(*read);
    if (Result<void> refused = check(); !refused) {
        return refused;
    }
    active = book.placement.active;
    const Section& sheet = book.stream.sections[size_t(book.placement.sections[size_t(active)])];
    if (Result<void> parsed = table.parse(book.stream, sheet); !parsed) {
        return parsed;
    }
    // An old BIFF5 copy of the workbook beside the BIFF8 one would keep the old contents after
    // an edit: it is dropped, as spreadsheet programs drop it when they save such a file.
    CfbNode& root = book.file.root;
    if (const int old = findStream(root, QStringLiteral("Book")); old >= 0 && old != book.entry) {
        root.children.erase(root.children.begin() + old);
        book.entry -= old < book.entry ? 1 : 0;
    }
    countTextCells();
    return {};
}

// Every text cell of the workbook holds on to its shared string.
void WorkbookState::countTextCells() {
    const RecordStream& s = book.stream;
    sst.take(std::move(book.globals.sst));
    const int edited = book.placement.sections[size_t(active)];
    for (size_t k = 1; k < s.sections.size(); ++k) {
        for (int i = s.sections[k].first; i < s.sections[k].end; ++i) {
            const Record& r = s.records[size_t(i)];
            if (r.type != rec::LabelSst || r.length < 10) {
                continue;
            }
            sst.reference(le32(s.body(r) + 6));
            otherLabelSst += int(k) == edited ? 0 : 1;
        }
    }
}

void WorkbookState::writeGlobals(StreamOut& out, std::vector<qsizetype>& sheetRecordPos) const {
    const RecordStream& stream = book.stream;
    const int sstRecord = book.globals.sstRecord;
    const Section& globals = stream.sections[0];
    const uint32_t refs = otherLabelSst + table.labelSstCount();
    const bool needSst = sstRecord < 0 && sst.count() > 0;
    for (int i = globals.first; i < globals.end; ++i) {
        const Record& r = stream.records[size_t(i)];
        if (i == sstRecord) {
            sst.write(out, 0, refs);  // the globals start the stream
            while (i + 1 < globals.end && stream.records[size_t(i) + 1].type == rec::Continue) {
                ++i;
            }
            continue;
        }
        if (r.type == rec::ExtSst && sstRecord >= 0) {
            continue;
        }
        if (needSst && i + 1 == globals.end) {
            sst.write(out, 0, refs);  // a table of its own, before EOF
        }
        if (r.type == rec::BoundSheet) {
            sheetRecordPos.push_back(out.size());
        }
        out.append(stream.bytes.constData() + r.offset, 4 + r.length);
        // The calculation engine of the last full calculation: none, so that newer spreadsheet
        // programs calculate the whole workbook again when they open it.
        if (r.type == rec::RecalcId && r.length >= 8 && changed) {
            put32(out.data() + out.size() - r.length + 4, 0);
        }
    }
}

// Copies a sheet the edit did not touch. After a change its formulas are marked to be
// calculated again on opening, since they may read the changed cells; an UNCALCED record right
// after its BOF says the same to older spreadsheet programs. The absolute positions in its
// INDEX follow the sheet to where it now lies.
void WorkbookState::copySheet(StreamOut& out, const Section& section) const {
    const RecordStream& stream = book.stream;
    const uint32_t start = uint32_t(out.size());
    const char* bytes = stream.bytes.constData();
    bool formulas = false, uncalced = false;
    for (int i = section.first; changed && i < section.end; ++i) {
        formulas = formulas || stream.records[size_t(i)].type == rec::Formula;
        uncalced = uncalced || stream.records[size_t(i)].type == rec::Uncalced;
    }
    const bool mark = formulas && section.substream;
    const Record& bof = stream.records[size_t(section.first)];
    const uint32_t afterBof = bof.offset + 4 + bof.length;
    out.append(bytes + section.begin, afterBof - section.begin);
    const uint32_t inserted = mark && !uncalced ? 6 : 0;
    if (inserted != 0) {
        out.record(rec::Uncalced, QByteArray(2, '\0'));
    }
    out.append(bytes + afterBof, section.stop - afterBof);
    // Every position after the BOF moved by the same amount.
    const uint32_t delta = start + inserted - section.begin;
    int depth = 0;
    for (int i = section.first; i < section.end && (delta != 0 || mark); ++i) {
        const Record& r = stream.records[size_t(i)];
        depth += r.type == rec::Bof ? 1 : 0;
        char* body = out.data() + (r.offset + delta) + 4;
        if (r.type == rec::Index && depth == 1 && r.length >= 16) {
            if (le32(body + 12) != 0) {
                put32(body + 12, le32(body + 12) + delta);
            }
            for (int k = 16; k + 4 <= r.length; k += 4) {
                put32(body + k, le32(body + k) + delta);
            }
        }
        if (mark && r.type == rec::Formula && depth == 1 && r.length >= 16) {
            body[FormulaFlags] = char(body[FormulaFlags] | FormulaAlwaysCalc);
        }
        depth -= r.type == rec::Eof ? 1 : 0;
    }
}

QByteArray WorkbookState::buildStream() const {
    const RecordStream& stream = book.stream;
    StreamOut out(stream.bytes.size() + 1024 * 1024);
    std::vector<qsizetype> sheetRecordPos;
    writeGlobals(out, sheetRecordPos);
    std::vector<uint32_t> newStart(stream.sections.size(), 0);
    const std::vector<int>& sections = book.placement.sections;
    const int edited = sections[size_t(active)];
    for (size_t s = 1; s < stream.sections.size(); ++s) {
        newStart[s] = uint32_t(out.size());
        if (int(s) == edited) {
            table.write(out, newStart[s], changed);
        } else {
            copySheet(out, stream.sections[s]);
        }
    }
    out.append(stream.trailing);
    for (size_t i = 0; i < sections.size(); ++i) {
        put32(out.data() + sheetRecordPos[i] + 4, newStart[size_t(sections[i])]);
    }
    return out.take();
}

}  // namespace sortilo::xlsedit
