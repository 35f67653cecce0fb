#pragma once

#include "platform/DesktopOpener.h"
#include "platform/SpreadsheetService.h"
#include "platform/xls/Workbook.h"
#include "platform/xlsedit/EditableWorkbook.h"

#include <QString>

#include <memory>
#include <optional>

namespace sortilo {

// The spreadsheet service without a spreadsheet program: workbooks are read from their files
// directly. "A running application" is another program holding one of the application
// folder's workbooks open, as the lock files beside it show.
class XlsSpreadsheetService : public SpreadsheetService {
public:
    XlsSpreadsheetService(QString appFolder, DesktopOpener& opener);

    bool FindRunningApplication(const QString& className) override;
    void CreateApplication() override;
    SheetError OpenWorkbook(const QString& path) override;
    xls::CellValue ReadCell(int row, int column) const override;
    SheetError WriteCell(int row, int column, const QString& text) override;
    SheetError ClearRange(const QString& a1Range) override;
    void SetDisplayAlerts(bool on) override;
    SheetError SaveActiveWorkbook() override;
    bool ShowApplication() override;
    void QuitApplication() override;
    void CloseAllWorkbooks() override;
    void ReleaseApplication() override;

    // The lock files another program leaves beside a workbook it has open.
    static QStringList lockFileNames(const QString& workbookName);

private:
    SheetError openForEditing();
    SheetError inOperatorTerms(SheetError error) const;
    void closeWorkbooks();

    QString appFolder_;
    DesktopOpener& opener_;
    std::optional<xls::Workbook> workbook_;                // the workbook opened last
    QString lastPath_;                                     // the workbook opened last
    QString shownPath_;                                    // what ShowApplication hands over
    std::unique_ptr<xlsedit::EditableWorkbook> editable_;  // its copy being edited
};

}  // namespace sortilo
