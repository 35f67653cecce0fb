#include "platform/xlsedit/EditableWorkbook.h"

#include "platform/xlsedit/AtomicFile.h"
#include "platform/xlsedit/WorkbookState.h"

#include <QFile>
#include <QFileInfo>

namespace sortilo::xlsedit {
namespace {

constexpr int kMaxTextLength = 32767;

// Decides by content what the file is before the container is parsed.
SheetError sniff(const QByteArray& bytes) {
    static const QByteArray cfb("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    if (bytes.startsWith(cfb))
        return {};
    if (bytes.startsWith("PK\x03\x04"))
        return {SheetProblem::UnsupportedFormat,
                QStringLiteral("xlsx workbook under an .xls name")};
    return {SheetProblem::NotAWorkbook, QStringLiteral("not a compound file")};
}

SheetError readFile(const QString& path, QByteArray& bytes) {
    const QFileInfo info(path);
    if (!info.exists())
        return {SheetProblem::Missing, path};
    if (info.isDir())
        return {SheetProblem::Unreadable, QStringLiteral("%1 is a folder").arg(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {SheetProblem::Unreadable, file.errorString()};
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {SheetProblem::Unreadable, file.errorString()};
    return {};
}

}  // namespace

SheetError checkEditable(const QByteArray& fileBytes) {
    if (SheetError e = sniff(fileBytes))
        return e;
    WorkbookState state;
    return state.load(fileBytes);
}

EditableWorkbook::EditableWorkbook(std::unique_ptr<WorkbookState> state) : d(std::move(state)) {}
EditableWorkbook::~EditableWorkbook() = default;

std::unique_ptr<EditableWorkbook> EditableWorkbook::open(const QString& path, SheetError& error) {
    QByteArray bytes;
    error = readFile(path, bytes);
    if (!error)
        error = sniff(bytes);
    if (error)
        return nullptr;
    auto state = std::make_unique<WorkbookState>();
    state->path = path;
    error = state->load(bytes);
    if (error)
        return nullptr;
    return std::unique_ptr<EditableWorkbook>(new EditableWorkbook(std::move(state)));
}

SheetError EditableWorkbook::clearRange(const QString& a1Range) {
    CellRect rect;
    if (!parseA1Range(a1Range, rect))
        return {SheetProblem::UnsupportedFormat,
                QStringLiteral("range \"%1\" not understood").arg(a1Range)};
    QString reason;
    const bool cleared = d->table.clear(rect, reason);
    d->releaseStrings();
    if (!cleared)
        return {SheetProblem::UnsupportedFormat, reason};
    d->changed = true;
    return {};
}

SheetError EditableWorkbook::writeCell(int row, int column, const QString& text) {
    if (row < 1 || row > 65536 || column < 1 || column > 256)
        return {SheetProblem::UnsupportedFormat,
                QStringLiteral("cell (%1, %2) lies outside the sheet").arg(row).arg(column)};
    if (text.size() > kMaxTextLength)
        return {SheetProblem::UnsupportedFormat,
                QStringLiteral("%1 characters do not fit into a cell").arg(text.size())};
    QString reason;
    bool done = false;
    if (text.isEmpty()) {
        // As in the spreadsheet program: the empty text empties the cell, format kept.
        done = d->table.clear({row - 1, column - 1, row - 1, column - 1}, reason);
    } else {
        const uint32_t index = d->sst.add(text);
        done = d->table.setText(row - 1, column - 1, index, reason);
        if (!done)
            d->sst.release(index);
    }
    d->releaseStrings();
    if (!done)
        return {SheetProblem::UnsupportedFormat, reason};
    d->changed = true;
    return {};
}

SheetError EditableWorkbook::save() {
    QByteArray stream = d->buildStream();
    // The container is written with the new stream in place of the old one, which is put back
    // afterwards so that a failed save leaves this object as it was.
    std::swap(d->workbook->data, stream);
    QByteArray bytes;
    QString reason;
    const bool written = writeCompoundFile(d->file, bytes, reason);
    std::swap(d->workbook->data, stream);
    if (!written)
        return {SheetProblem::NotSaved, reason};
    // The file read back must hold a container from which our stream comes out unchanged.
    const QString name = d->workbook->name;
    return replaceFileAtomically(d->path, bytes, [&](const QByteArray& reread) {
        CompoundFile check;
        QString why;
        if (!readCompoundFile(reread, check, why))
            return false;
        const CfbNode* found = findStream(check.root, name);
        return found && found->data == stream;
    });
}

QString EditableWorkbook::path() const {
    return d->path;
}

int EditableWorkbook::activeSheetIndex() const {
    return d->active;
}

QString EditableWorkbook::activeSheetName() const {
    return d->sheets[size_t(d->active)].name;
}

}  // namespace sortilo::xlsedit
