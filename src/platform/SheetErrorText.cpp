#include "platform/SheetErrorText.h"

#include "platform/Texts.h"

namespace sortilo {

QString describeSheetError(const QString& fileName, const SheetError& error) {
    switch (error.problem) {
        case SheetProblem::None:
            return {};
        case SheetProblem::Missing:
            return texts::WorkbookMissing.arg(fileName);
        case SheetProblem::Unreadable:
            return texts::WorkbookUnreadable.arg(fileName);
        case SheetProblem::OpenElsewhere:
            return texts::WorkbookOpenElsewhere.arg(fileName);
        case SheetProblem::PasswordProtected:
            return texts::WorkbookPasswordProtected.arg(fileName);
        case SheetProblem::NotAWorkbook:
            return texts::WorkbookNotAWorkbook.arg(
                fileName, error.detail.isEmpty() ? texts::FileKindOther : error.detail);
        case SheetProblem::UnsupportedFormat:
            return texts::WorkbookUnsupported.arg(
                fileName, error.detail.isEmpty() ? texts::FileKindOther : error.detail);
        case SheetProblem::Corrupt:
            return texts::WorkbookCorrupt.arg(fileName);
        case SheetProblem::CellNotText:
            return texts::WorkbookCellNotText.arg(fileName, error.detail);
        case SheetProblem::NotSaved:
            return texts::WorkbookNotSaved.arg(fileName);
        case SheetProblem::HardLinked:
            return texts::WorkbookHardLinked.arg(fileName);
        case SheetProblem::NotEditable:
            return texts::WorkbookNotEditable.arg(fileName);
        case SheetProblem::NoSheet:
            return texts::WorkbookNoSheet.arg(fileName);
    }
    return {};
}

}  // namespace sortilo
