#include "platform/XlsSpreadsheetService.h"

#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace sortilo {

XlsSpreadsheetService::XlsSpreadsheetService(QString appFolder, DesktopOpener& opener)
    : appFolder_(std::move(appFolder)), opener_(opener) {}

QStringList XlsSpreadsheetService::lockFileNames(const QString& workbookName) {
    // LibreOffice/OpenOffice: ".~lock.NAME#". Excel and WPS: "~$NAME", with the name's first
    // two characters dropped when it is long.
    QStringList names{QStringLiteral(".~lock.") + workbookName + QLatin1Char('#'),
                      QStringLiteral("~$") + workbookName};
    if (workbookName.size() > 2) {
        names << QStringLiteral("~$") + workbookName.mid(2);
    }
    return names;
}

bool XlsSpreadsheetService::FindRunningApplication(const QString& /*className*/) {
    for (const QString& workbook : {ImportWorkbookName, ExportWorkbookName}) {
        for (const QString& lock : lockFileNames(workbook)) {
            if (QFileInfo(appFilePath(appFolder_, lock)).isFile()) {
                return true;
            }
        }
    }
    return false;
}

void XlsSpreadsheetService::CreateApplication() {}

SheetError XlsSpreadsheetService::OpenWorkbook(const QString& path) {
    SheetError error;
    auto book = xls::Workbook::open(path, error);
    // The desktop's spreadsheet program may open what this reader refuses (a workbook with a
    // real password asks for it there), so a file that exists can still be shown.
    shownPath_ = path;
    if (!book) {
        return error;  // the workbook opened before stays the active one
    }
    workbook_ = std::move(book);
    editable_.reset();
    lastPath_ = path;
    return {};
}

xls::CellValue XlsSpreadsheetService::ReadCell(int row, int column) const {
    return workbook_ ? workbook_->cell(row, column) : xls::CellValue{};
}

SheetError XlsSpreadsheetService::WriteCell(int row, int column, const QString& text) {
    if (SheetError error = openForEditing()) {
        return error;
    }
    return inOperatorTerms(editable_->writeCell(row, column, text));
}

SheetError XlsSpreadsheetService::ClearRange(const QString& a1Range) {
    if (SheetError error = openForEditing()) {
        return error;
    }
    return inOperatorTerms(editable_->clearRange(a1Range));
}

// Nothing here ever stops to ask the user.
void XlsSpreadsheetService::SetDisplayAlerts(bool) {}

SheetError XlsSpreadsheetService::SaveActiveWorkbook() {
    if (SheetError error = openForEditing()) {
        return error;
    }
    return inOperatorTerms(editable_->save());
}

// Edits go to a copy of the workbook in memory; only the save writes the file. A workbook that
// another program has open is not edited at all: that program would overwrite the result with
// its stale copy when it saves.
SheetError XlsSpreadsheetService::openForEditing() {
    if (editable_) {
        return {};
    }
    if (!workbook_) {
        return {SheetProblem::Unreadable, QStringLiteral("no workbook is open")};
    }
    const QFileInfo file(lastPath_);
    for (const QString& lock : lockFileNames(file.fileName())) {
        if (QFileInfo(file.dir().filePath(lock)).isFile()) {
            return {SheetProblem::OpenElsewhere, lock};
        }
    }
    SheetError error;
    editable_ = xlsedit::EditableWorkbook::open(lastPath_, error);
    return inOperatorTerms(error);
}

// The editor explains a refusal in its own words; the operator is told what kind of workbook
// it is, or that something in it cannot be changed safely.
SheetError XlsSpreadsheetService::inOperatorTerms(SheetError error) const {
    if (error.problem != SheetProblem::UnsupportedFormat) {
        return error;
    }
    if (workbook_ && workbook_->format() == xls::WorkbookFormat::Xlsx) {
        return {SheetProblem::UnsupportedFormat, texts::FileKindXlsxWorkbook};
    }
    if (workbook_ && workbook_->format() == xls::WorkbookFormat::Biff5) {
        return {SheetProblem::UnsupportedFormat, texts::FileKindBiff5Workbook};
    }
    return {SheetProblem::NotEditable, error.detail};
}

bool XlsSpreadsheetService::ShowApplication() {
    return !shownPath_.isEmpty() && opener_.open(shownPath_);
}

void XlsSpreadsheetService::QuitApplication() {
    closeWorkbooks();
}

void XlsSpreadsheetService::CloseAllWorkbooks() {
    closeWorkbooks();
}

void XlsSpreadsheetService::ReleaseApplication() {
    closeWorkbooks();
}

void XlsSpreadsheetService::closeWorkbooks() {
    workbook_.reset();
    editable_.reset();
}

}  // namespace sortilo
