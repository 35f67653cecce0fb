#include "platform/xlsedit/WorkbookState.h"

#include "platform/xls/SheetPlacement.h"

#include <map>

namespace sortilo::xlsedit {
namespace {

SheetError corrupt(const QString& detail) {
    return {SheetProblem::Corrupt, detail};
}

QString sheetName(const char* body, int length) {
    // ShortXLUnicodeString after offset (4), visibility (1), type (1).
    if (length < 8)
        return {};
    const int cch = uint8_t(body[6]);
    const bool wide = uint8_t(body[7]) & 1;
    const int available = (length - 8) / (wide ? 2 : 1);
    const int n = std::min(cch, available);
    QString name;
    for (int i = 0; i < n; ++i)
        name.append(wide ? QChar(le16(body + 8 + 2 * i)) : QChar(uint8_t(body[8 + i])));
    return name;
}

}  // namespace

SheetError WorkbookState::load(const QByteArray& bytes) {
    QString reason;
    if (!readCompoundFile(bytes, file, reason))
        return corrupt(QStringLiteral("damaged container: ") + reason);
    workbook = findStream(file.root, QStringLiteral("Workbook"));
    if (!workbook)
        workbook = findStream(file.root, QStringLiteral("Book"));
    if (!workbook) {
        if (findStream(file.root, QStringLiteral("EncryptedPackage")))
            return {SheetProblem::PasswordProtected, QStringLiteral("password-protected xlsx")};
        return {SheetProblem::NotAWorkbook, QStringLiteral("compound file without a workbook")};
    }
    if (!splitRecords(workbook->data, stream, reason))
        return corrupt(reason);
    xls::SheetDirectory directory;
    if (SheetError e = readGlobals(directory))
        return e;
    if (SheetError e = mapSheets(directory))
        return e;
    const Section& section = stream.sections[size_t(sheets[size_t(active)].section)];
    if (!table.parse(stream, section, reason))
        return corrupt(reason);
    // Every text cell of the workbook holds on to its shared string.
    for (size_t s = 1; s < stream.sections.size(); ++s) {
        for (int i = stream.sections[s].first; i < stream.sections[s].end; ++i) {
            const Record& r = stream.records[size_t(i)];
            if (r.type != rec::LabelSst || r.length < 10)
                continue;
            sst.reference(le32(stream.body(r) + 6));
            otherLabelSst += int(s) == sheets[size_t(active)].section ? 0 : 1;
        }
    }
    return {};
}

SheetError WorkbookState::readGlobals(xls::SheetDirectory& directory) {
    if (stream.sections.empty() || !stream.sections[0].substream)
        return corrupt(QStringLiteral("the workbook does not start with its globals"));
    const Section& globals = stream.sections[0];
    const Record& bof = stream.records[size_t(globals.first)];
    const uint16_t version = bof.length >= 2 ? le16(stream.body(bof)) : 0;
    for (int i = globals.first; i < globals.end; ++i) {
        const Record& r = stream.records[size_t(i)];
        if (r.type != rec::FilePass)
            continue;
        // BIFF8 names its kind: 0 XOR obfuscation, 1 RC4; BIFF5 only knows XOR.
        const QString kind = version != 0x0600 ? QStringLiteral("Excel 5.0/95 obfuscation")
                             : r.length >= 2 && le16(stream.body(r)) == 0
                                 ? QStringLiteral("XOR obfuscation")
                                 : QStringLiteral("RC4");
        return {SheetProblem::PasswordProtected,
                QStringLiteral("encrypted workbook (%1)").arg(kind)};
    }
    if (version != 0x0600) {
        return {SheetProblem::UnsupportedFormat,
                version == 0x0500 ? QStringLiteral("Excel 5.0/95 workbook (BIFF5)")
                                  : QStringLiteral("BIFF version %1").arg(version, 4, 16)};
    }
    if (globals.bofType != 0x0005)
        return corrupt(QStringLiteral("the first section is not the workbook globals"));
    std::vector<QByteArray> sstBodies;
    for (int i = globals.first; i < globals.end; ++i) {
        const Record& r = stream.records[size_t(i)];
        const char* body = stream.body(r);
        if (r.type == rec::Window1 && r.length >= 12)
            directory.windowTabs.push_back(le16(body + 10));
        if (r.type == rec::BoundSheet) {
            if (r.length < 8)
                return corrupt(QStringLiteral("sheet entry %1 too short").arg(sheets.size()));
            Sheet sheet;
            sheet.record = i;
            sheet.visibility = uint8_t(body[4]);
            sheet.type = uint8_t(body[5]);
            sheet.name = sheetName(body, r.length);
            sheets.push_back(sheet);
            directory.sheets.push_back(
                {sheet.name, xls::biffSheetType(sheet.type), sheet.visibility != 0});
            directory.offsets.push_back(le32(body));
        }
        if (r.type == rec::Sst && sstRecord < 0) {
            sstRecord = i;
            sstBodies.emplace_back(body, r.length);
            for (int j = i + 1; j < globals.end && stream.records[size_t(j)].type == rec::Continue;
                 ++j)
                sstBodies.emplace_back(stream.body(j), stream.records[size_t(j)].length);
        }
    }
    QString reason;
    if (sstRecord >= 0 && !sst.parse(sstBodies, reason))
        return corrupt(reason);
    return {};
}

// Pairs every BOUNDSHEET with its section and finds the sheet to edit, as the reader does. Where
// the workbook's records leave that in doubt, editing is refused: a guess could overwrite a
// sheet other than the one the user sees.
SheetError WorkbookState::mapSheets(const xls::SheetDirectory& directory) {
    std::vector<xls::Substream> substreams;
    std::map<uint32_t, int> byStart;
    for (size_t s = 1; s < stream.sections.size(); ++s) {
        if (!stream.sections[s].substream)
            continue;
        substreams.push_back({stream.sections[s].begin, stream.sections[s].windowFlags});
        byStart[stream.sections[s].begin] = int(s);
    }
    const xls::SheetPlacement placement = xls::placeSheets(substreams, directory);
    if (!placement.doubt.isEmpty())
        return {SheetProblem::NotEditable, placement.doubt};
    if (placement.active < 0)
        return {SheetProblem::NoSheet, QStringLiteral("the workbook lists no sheets")};
    for (size_t i = 0; i < sheets.size(); ++i) {
        const auto found = byStart.find(uint32_t(placement.starts[i]));
        if (placement.starts[i] == xls::SheetPlacement::NotFound || found == byStart.end())
            return corrupt(
                QStringLiteral("the records of sheet \"%1\" are missing").arg(sheets[i].name));
        sheets[i].section = found->second;
    }
    active = placement.active;
    const Sheet& sheet = sheets[size_t(active)];
    if (sheet.type != 0 || stream.sections[size_t(sheet.section)].bofType != 0x0010)
        return {SheetProblem::NoSheet,
                QStringLiteral("the active sheet \"%1\" is not a worksheet").arg(sheet.name)};
    return {};
}

void WorkbookState::writeGlobals(QByteArray& out, std::vector<qsizetype>& sheetRecordPos) const {
    const Section& globals = stream.sections[0];
    const uint32_t refs = otherLabelSst + table.labelSstCount();
    const bool needSst = sstRecord < 0 && sst.count() > 0;
    for (int i = globals.first; i < globals.end; ++i) {
        const Record& r = stream.records[size_t(i)];
        if (i == sstRecord) {
            sst.write(out, 0, refs);  // the globals start the stream
            while (i + 1 < globals.end && stream.records[size_t(i) + 1].type == rec::Continue)
                ++i;
            continue;
        }
        if (r.type == rec::ExtSst && sstRecord >= 0)
            continue;
        if (needSst && i + 1 == globals.end)
            sst.write(out, 0, refs);  // a table of its own, before EOF
        if (r.type == rec::BoundSheet)
            sheetRecordPos.push_back(out.size());
        out.append(stream.bytes.constData() + r.offset, 4 + r.length);
        // The calculation engine of the last full calculation: none, so that newer spreadsheet
        // programs calculate the whole workbook again when they open it.
        if (r.type == rec::RecalcId && r.length >= 8 && changed)
            put32(out.data() + out.size() - r.length + 4, 0);
    }
}

// Copies a sheet the edit did not touch. After a change its formulas are marked to be
// calculated again on opening, since they may read the changed cells; an UNCALCED record right
// after its BOF says the same to older spreadsheet programs. The absolute positions in its
// INDEX follow the sheet to where it now lies.
void WorkbookState::copySheet(QByteArray& out, const Section& section) const {
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
    if (inserted != 0)
        appendRecord(out, rec::Uncalced, QByteArray(2, '\0'));
    out.append(bytes + afterBof, section.stop - afterBof);
    // Every position after the BOF moved by the same amount.
    const uint32_t delta = start + inserted - section.begin;
    int depth = 0;
    for (int i = section.first; i < section.end && (delta != 0 || mark); ++i) {
        const Record& r = stream.records[size_t(i)];
        depth += r.type == rec::Bof ? 1 : 0;
        char* body = out.data() + (r.offset + delta) + 4;
        if (r.type == rec::Index && depth == 1 && r.length >= 16) {
            if (le32(body + 12) != 0)
                put32(body + 12, le32(body + 12) + delta);
            for (int k = 16; k + 4 <= r.length; k += 4)
                put32(body + k, le32(body + k) + delta);
        }
        if (mark && r.type == rec::Formula && depth == 1 && r.length >= 16)
            body[kFormulaFlags] = char(body[kFormulaFlags] | kFormulaAlwaysCalc);
        depth -= r.type == rec::Eof ? 1 : 0;
    }
}

QByteArray WorkbookState::buildStream() const {
    QByteArray out;
    out.reserve(stream.bytes.size() + 1024 * 1024);
    std::vector<qsizetype> sheetRecordPos;
    writeGlobals(out, sheetRecordPos);
    std::vector<uint32_t> newStart(stream.sections.size(), 0);
    const int edited = sheets[size_t(active)].section;
    for (size_t s = 1; s < stream.sections.size(); ++s) {
        newStart[s] = uint32_t(out.size());
        if (int(s) == edited)
            table.write(out, newStart[s], changed);
        else
            copySheet(out, stream.sections[s]);
    }
    out.append(stream.trailing);
    for (size_t i = 0; i < sheets.size(); ++i)
        put32(out.data() + sheetRecordPos[i] + 4, newStart[size_t(sheets[i].section)]);
    return out;
}

}  // namespace sortilo::xlsedit
