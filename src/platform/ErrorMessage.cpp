#include "platform/ErrorMessage.h"

#include "platform/Texts.h"

#include <QDir>
#include <QFileInfo>

namespace sortilo {

namespace {

QString kindName(FileKind kind) {
    switch (kind) {
        case FileKind::Empty:
            return texts::FileKindEmpty;
        case FileKind::Text:
            return texts::FileKindText;
        case FileKind::UnicodeText:
            return texts::FileKindUnicodeText;
        case FileKind::Html:
            return texts::FileKindHtml;
        case FileKind::Xml2003:
            return texts::FileKindXml2003;
        case FileKind::Xml:
            return texts::FileKindXml;
        case FileKind::Zip:
            return texts::FileKindZip;
        case FileKind::Ods:
            return texts::FileKindOds;
        case FileKind::OtherOffice:
            return texts::FileKindOtherOle;
        case FileKind::OldBiff:
            return texts::FileKindOldBiff;
        case FileKind::BareBiff:
            return texts::FileKindBareBiff;
        case FileKind::UnknownBiff:
            return texts::FileKindUnknownBiff;
        case FileKind::Xlsb:
            return texts::FileKindXlsb;
        case FileKind::Xlsx:
            return texts::FileKindXlsxWorkbook;
        case FileKind::Biff5:
            return texts::FileKindBiff5Workbook;
        default:
            return texts::FileKindOther;
    }
}

const QString& sentence(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::Missing:
            return texts::WorkbookMissing;
        case ErrorKind::Unreadable:
            return texts::WorkbookUnreadable;
        case ErrorKind::OpenElsewhere:
            return texts::WorkbookOpenElsewhere;
        case ErrorKind::PasswordProtected:
            return texts::WorkbookPasswordProtected;
        case ErrorKind::NotAWorkbook:
            return texts::WorkbookNotAWorkbook;
        case ErrorKind::UnsupportedFormat:
            return texts::WorkbookUnsupported;
        case ErrorKind::Corrupt:
            return texts::WorkbookCorrupt;
        case ErrorKind::NoSheet:
            return texts::WorkbookNoSheet;
        case ErrorKind::NoSheetToWrite:
            return texts::WorkbookNoSheetToWrite;
        case ErrorKind::CellNotText:
            return texts::WorkbookCellNotText;
        case ErrorKind::NotEditable:
            return texts::WorkbookNotEditable;
        case ErrorKind::NotSaved:
            return texts::WorkbookNotSaved;
        case ErrorKind::HardLinked:
            return texts::WorkbookHardLinked;
        case ErrorKind::DatabaseMissing:
            return texts::TitleDbMissing;
        case ErrorKind::DatabaseUnreadable:
            return texts::TitleDbUnreadable;
        case ErrorKind::NotADatabase:
            return texts::TitleDbNotOpened;
        case ErrorKind::NoTable:
            return texts::TitleDbNoTable;
        case ErrorKind::TooFewRows:
            return texts::TitleDbTooFewRows;
        case ErrorKind::TooFewColumns:
            return texts::TitleDbTooFewColumns;
        case ErrorKind::DatabaseNotWritten:
            return texts::TitleDbNotWritten;
        case ErrorKind::NotShown:
            return texts::WorkbookNotShown;
        case ErrorKind::SavedNotShown:
            return texts::ExportNotShown;
        case ErrorKind::RecordNotWritten:
            return texts::RecordNotWritten;
        case ErrorKind::RecordNotClosed:
            return texts::RecordNotClosed;
        case ErrorKind::SpreadsheetRunning:
            return texts::SpreadsheetOpen;
        case ErrorKind::KeepChoiceNotSet:
            return texts::KeepChoiceNotSet;
        case ErrorKind::CountBelowOne:
            return texts::CountBelowOne;
        case ErrorKind::CountAboveGroupSize:
            return texts::CountAboveGroupSize;
        case ErrorKind::GroupsFull:
            return texts::GroupsFull;
        case ErrorKind::CountAbovePool:
            return texts::CountAbovePool;
        case ErrorKind::NoAbsentSelected:
            return texts::NoAbsentSelected;
        case ErrorKind::AbsentInTwoGroups:
            return texts::AbsentInTwoGroups;
        case ErrorKind::RedrawWhileRolling:
            return texts::RedrawWhileRolling;
        case ErrorKind::TooFewToRedraw:
            return texts::TooFewToRedraw;
        case ErrorKind::DataFolderNotMade:
            return texts::DataFolderNotMade;
        case ErrorKind::FolderNotShown:
            return texts::DataFolderNotShown;
    }
    static const QString none;
    return none;
}

// The refusals of the draw and "a spreadsheet program is running" concern no one file.
bool namesFile(ErrorKind kind) {
    switch (kind) {
        case ErrorKind::SpreadsheetRunning:
        case ErrorKind::KeepChoiceNotSet:
        case ErrorKind::CountBelowOne:
        case ErrorKind::CountAboveGroupSize:
        case ErrorKind::GroupsFull:
        case ErrorKind::CountAbovePool:
        case ErrorKind::NoAbsentSelected:
        case ErrorKind::AbsentInTwoGroups:
        case ErrorKind::RedrawWhileRolling:
        case ErrorKind::TooFewToRedraw:
            return false;
        default:
            return true;
    }
}

}  // namespace

QString errorMessage(const Error& error) {
    const QString& text = sentence(error.kind);
    const QString name = QFileInfo(error.file).fileName();
    if (error.kind == ErrorKind::CellNotText) {
        return text.arg(name, error.cell);
    }
    if (error.kind == ErrorKind::NotAWorkbook || error.kind == ErrorKind::UnsupportedFormat) {
        return text.arg(name, kindName(error.content));
    }
    if (!namesFile(error.kind)) {
        return text;
    }
    if (error.kind == ErrorKind::NotShown || error.kind == ErrorKind::SavedNotShown ||
        error.kind == ErrorKind::RecordNotWritten || error.kind == ErrorKind::RecordNotClosed ||
        error.kind == ErrorKind::DataFolderNotMade || error.kind == ErrorKind::FolderNotShown) {
        // The operator has to go there by hand, so the whole path is given.
        return text.arg(QDir::toNativeSeparators(QFileInfo(error.file).absoluteFilePath()));
    }
    return text.isEmpty() ? text : text.arg(name);
}

}  // namespace sortilo
