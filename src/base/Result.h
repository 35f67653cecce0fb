#pragma once

#include <QString>

#include <optional>
#include <utility>
#include <variant>

namespace sortilo {

// What went wrong, in terms a message to the operator can name. The formats, the database and
// the services report these; the sentence for each is chosen in one place (errorMessage()).
enum class ErrorKind {
    // Workbooks
    Missing,            // no such file
    Unreadable,         // exists but cannot be read (permissions, a folder, an I/O error)
    OpenElsewhere,      // another program holds it open (a lock file beside it)
    PasswordProtected,  // encrypted with a password of the user's
    NotAWorkbook,       // some other kind of file under a workbook's name (see Error::content)
    UnsupportedFormat,  // a workbook of a kind not handled here (see Error::content)
    Corrupt,            // damaged container or record stream
    NoSheet,            // the sheet that opens holds no cells to read (a chart sheet)
    NoSheetToWrite,     // the sheet that opens is no worksheet the results can be written to
    CellNotText,        // a cell whose value cannot become text (an error value); see Error::cell
    NotEditable,        // holds something the in-place edit cannot change safely
    NotSaved,           // writing the file failed; the original is unchanged
    HardLinked,         // not saved: the file has several names, which saving would split
    NotShown,           // the desktop found no program to show the file with
    SavedNotShown,      // saved, but the desktop found no program to show the file with
    // The title database
    DatabaseMissing,     // no such file
    DatabaseUnreadable,  // cannot be opened or read
    NotADatabase,        // another kind of file, or keyed with another password
    NoTable,             // the table asked for is not there
    TooFewRows,          // the title table has fewer than six rows
    TooFewColumns,       // the title table has fewer than 26 columns
    DatabaseNotWritten,  // the database refused a write (read-only, held by another program)
    // The draw record
    RecordNotWritten,  // the record or its folder refused a write; the draw goes on unrecorded
    RecordNotClosed,   // an earlier session's record could not be closed at the start
    // The data folder
    DataFolderNotMade,  // it cannot be made, or the files it lacks cannot be copied into it
    FolderNotShown,     // the desktop found no program to show the folder with
    // No one file named: a spreadsheet program at work, and the draw's checks of Start, Stop and
    // a tick
    SpreadsheetRunning,   // another program has a workbook of the folder open
    KeepChoiceNotSet,     // neither 是 nor 否 chosen
    CountBelowOne,        // a draw count below 1
    CountAboveGroupSize,  // a draw count above what one group holds
    GroupsFull,           // every group recorded already
    CountAbovePool,       // a draw count larger than the pool
    // The checks of a replacement for absent names
    NoAbsentSelected,    // no name of a group marked absent
    AbsentInTwoGroups,   // names of two groups marked at once
    RedrawWhileRolling,  // a draw is rolling
    TooFewToRedraw,      // fewer names left to draw than are absent
};

// What a file is by its content; the name counts for nothing. The first group is what the
// first bytes say; the others are found by looking further inside.
enum class FileKind {
    Unknown,
    Cfb,      // a compound file (.xls, .doc, encrypted .xlsx ...)
    Zip,      // a zip package (.xlsx, .ods, .docx ...)
    RawBiff,  // a bare BIFF record stream (Excel 2.x-4.x worksheets)
    Empty,
    Text,         // CSV or plain text
    UnicodeText,  // UTF-16 text (Excel's "Unicode text")
    Html,
    Xml2003,  // XML Spreadsheet 2003
    Xml,
    Other,
    Ods,
    OtherOffice,  // a Word or PowerPoint document
    OldBiff,      // an Excel 2.x-4.x worksheet
    BareBiff,     // a BIFF5/8 stream without its compound file
    UnknownBiff,  // a BIFF stream of an unknown version
    Xlsb,
    Xlsx,
    Biff5,  // an Excel 5.0/95 workbook
};

struct Error {
    Error(ErrorKind errorKind, QString filePath, QString what = {})
        : kind(errorKind), file(std::move(filePath)), detail(std::move(what)) {}

    ErrorKind kind;
    QString file;                          // the file concerned, as its path
    QString detail;                        // what exactly, in English, for the curious
    QString cell;                          // CellNotText: the cell, "A17"
    FileKind content = FileKind::Unknown;  // NotAWorkbook, UnsupportedFormat: what the file is
};

// An error of a file not named yet (see Result::in).
inline Error fault(ErrorKind kind, QString detail = {}) {
    return Error(kind, {}, std::move(detail));
}
inline Error fileFault(ErrorKind kind, FileKind content, QString detail = {}) {
    Error e(kind, {}, std::move(detail));
    e.content = content;
    return e;
}

// A value, or the error that kept it from being made.
template <typename T>
class [[nodiscard]] Result {
public:
    Result(T value) : v_(std::move(value)) {}
    Result(Error error) : v_(std::move(error)) {}

    explicit operator bool() const { return v_.index() == 0; }
    T& operator*() { return std::get<0>(v_); }
    const T& operator*() const { return std::get<0>(v_); }
    T* operator->() { return &std::get<0>(v_); }
    const T* operator->() const { return &std::get<0>(v_); }
    const Error& error() const { return std::get<1>(v_); }
    // Names the file in an error that does not name one yet.
    Result in(const QString& file) && {
        if (v_.index() == 1 && std::get<1>(v_).file.isEmpty()) {
            std::get<1>(v_).file = file;
        }
        return std::move(*this);
    }

private:
    std::variant<T, Error> v_;
};

template <>
class [[nodiscard]] Result<void> {
public:
    Result() = default;
    Result(Error error) : e_(std::move(error)) {}

    explicit operator bool() const { return !e_; }
    const Error& error() const { return *e_; }
    Result in(const QString& file) && {
        if (e_ && e_->file.isEmpty()) {
            e_->file = file;
        }
        return std::move(*this);
    }

private:
    std::optional<Error> e_;
};

}  // namespace sortilo
