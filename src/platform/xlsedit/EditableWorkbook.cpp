#include "platform/xlsedit/EditableWorkbook.h"

#include "platform/xls/Workbook.h"
#include "platform/xlsedit/AtomicFile.h"
#include "platform/xlsedit/CompoundFile.h"
#include "platform/xlsedit/WorkbookState.h"

namespace sortilo::xlsedit {

namespace {

constexpr int MaxTextLength = 32767;

Error notEditable(const QString& what) {
    return fault(ErrorKind::NotEditable, what);
}

// Content that is no compound file: what it is. An xlsx workbook reads, but is not edited.
Error notEditableContent(const QByteArray& bytes, FileKind kind) {
    if (kind != FileKind::Zip) {
        return xls::otherContent(bytes, kind);
    }
    const Result<xls::Workbook> xlsx = xls::Workbook::fromBytes(bytes);
    return xlsx ? fileFault(ErrorKind::UnsupportedFormat, FileKind::Xlsx) : xlsx.error();
}

}  // namespace

EditableWorkbook::EditableWorkbook(std::unique_ptr<WorkbookState> state) : d(std::move(state)) {}
EditableWorkbook::EditableWorkbook(EditableWorkbook&&) noexcept = default;
EditableWorkbook& EditableWorkbook::operator=(EditableWorkbook&&) noexcept = default;
EditableWorkbook::~EditableWorkbook() = default;

Result<EditableWorkbook> EditableWorkbook::open(const QString& path) {
    const Result<QByteArray> bytes = xls::readFileBytes(path);
    if (!bytes) {
        return bytes.error();
    }
    return fromBytes(*bytes, path);
}

Result<EditableWorkbook> EditableWorkbook::fromBytes(const QByteArray& bytes, const QString& path) {
    if (const FileKind kind = xls::sniffContent(bytes); kind != FileKind::Cfb) {
        return Result<EditableWorkbook>(notEditableContent(bytes, kind)).in(path);
    }
    auto state = std::make_unique<WorkbookState>();
    state->path = path;
    if (Result<void> loaded = state->load(bytes); !loaded) {
        return std::move(loaded).in(path).error();
    }
    return EditableWorkbook(std::move(state));
}

Result<void> EditableWorkbook::changed(Result<void> done) {
    d->releaseStrings();
    d->changed = d->changed || bool(done);
    return std::move(done).in(d->path);
}

Result<void> EditableWorkbook::clearRange(const QString& a1Range) {
    const std::optional<CellRect> rect = parseA1Range(a1Range);
    if (!rect) {
        return changed(notEditable(QStringLiteral("range \"%1\" not understood").arg(a1Range)));
    }
    return changed(d->table.clear(*rect));
}

Result<void> EditableWorkbook::writeCell(int row, int column, const QString& text) {
    if (row < 1 || row > 65536 || column < 1 || column > 256) {
        return changed(notEditable(
            QStringLiteral("cell (%1, %2) lies outside the sheet").arg(row).arg(column)));
    }
    if (text.size() > MaxTextLength) {
        return changed(
            notEditable(QStringLiteral("%1 characters do not fit into a cell").arg(text.size())));
    }
    // As in the spreadsheet program: the empty text empties the cell, format kept.
    if (text.isEmpty()) {
        return changed(d->table.clear({row - 1, column - 1, row - 1, column - 1}));
    }
    const uint32_t index = d->sst.add(text);
    Result<void> done = d->table.setText(row - 1, column - 1, index);
    if (!done) {
        d->sst.release(index);
    }
    return changed(std::move(done));
}

Result<void> EditableWorkbook::save() {
    QByteArray stream = d->buildStream();
    // The container is written with the new stream in place of the old one, which is put back
    // afterwards so that a failed save leaves this object as it was.
    xls::CfbNode& node = d->streamNode();
    std::swap(node.data, stream);
    const Result<QByteArray> bytes = writeCompoundFile(d->book.file);
    std::swap(node.data, stream);
    if (!bytes) {
        return Result<void>(bytes.error()).in(d->path);
    }
    // The file read back must hold a container from which our stream comes out unchanged.
    const QString name = node.name;
    return replaceFileAtomically(
               d->path, *bytes,
               [&](const QByteArray& reread) {
                   const Result<xls::CompoundFile> check = xls::readCompoundFile(reread);
                   const int found = check ? xls::findStream(check->root, name) : -1;
                   return found >= 0 && check->root.children[size_t(found)].data == stream;
               })
        .in(d->path);
}

int EditableWorkbook::activeSheetIndex() const {
    return d->active;
}

QString EditableWorkbook::activeSheetName() const {
    return d->book.globals.directory.sheets[size_t(d->active)].name;
}

}  // namespace sortilo::xlsedit
