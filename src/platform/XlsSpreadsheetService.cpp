#include "platform/XlsSpreadsheetService.h"

#include "platform/AppFiles.h"

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
    if (!book) {
        return error;  // the workbook opened before stays the active one
    }
    workbook_ = std::move(book);
    lastPath_ = path;
    return {};
}

xls::CellValue XlsSpreadsheetService::ReadCell(int row, int column) const {
    return workbook_ ? workbook_->cell(row, column) : xls::CellValue{};
}

namespace {

SheetError notWritable() {
    return {SheetProblem::UnsupportedFormat, QStringLiteral("writing workbooks")};
}

}  // namespace

SheetError XlsSpreadsheetService::WriteCell(int, int, const QString&) {
    return notWritable();
}

SheetError XlsSpreadsheetService::ClearRange(const QString&) {
    return notWritable();
}

void XlsSpreadsheetService::SetDisplayAlerts(bool) {}

SheetError XlsSpreadsheetService::SaveActiveWorkbook() {
    return notWritable();
}

void XlsSpreadsheetService::ShowApplication() {
    if (!lastPath_.isEmpty()) {
        opener_.open(lastPath_);
    }
}

void XlsSpreadsheetService::QuitApplication() {
    workbook_.reset();
}

void XlsSpreadsheetService::CloseAllWorkbooks() {
    workbook_.reset();
}

void XlsSpreadsheetService::ReleaseApplication() {
    workbook_.reset();
}

}  // namespace sortilo
