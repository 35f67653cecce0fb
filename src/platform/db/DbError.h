#pragma once

#include <QString>

namespace sortilo::db {

// What went wrong with the database, in terms a message to the operator can name.
enum class DbProblem {
    None,
    BadConnectionString,  // no data source in the connection string
    Missing,              // no file at the data source
    Unreadable,           // the file exists but cannot be opened or read
    NotADatabase,         // some other kind of file, or keyed with another password
    NoTable,              // the query names a table the file does not hold
    BadQuery,             // the query cannot run, or its rows cannot be written back
    NotOpen,              // used before Open or after Close
    Locked,               // another connection holds the file; nothing was written
    ReadOnly,             // the file refuses writes; nothing was written
    WriteFailed,          // any other failed write; nothing was written
    Exists,               // creating a database where a file already lies
};

struct DbError {
    DbProblem problem = DbProblem::None;
    QString detail;  // the engine's own text or what exactly was wrong

    explicit operator bool() const { return problem != DbProblem::None; }
};

}  // namespace sortilo::db
