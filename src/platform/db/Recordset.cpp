#include "platform/db/Recordset.h"

#include <sqlcipher/sqlite3.h>

#include <QRegularExpression>

#include <algorithm>

#include <memory>

namespace sortilo::db {

namespace {

struct StatementDeleter {
    void operator()(sqlite3_stmt* s) const { sqlite3_finalize(s); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QString quoteIdentifier(const QString& name) {
    QString q = name;
    q.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + q + QLatin1Char('"');
}

QVariant columnValue(sqlite3_stmt* s, int i) {
    switch (sqlite3_column_type(s, i)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return QVariant(static_cast<qlonglong>(sqlite3_column_int64(s, i)));
        case SQLITE_FLOAT:
            return QVariant(sqlite3_column_double(s, i));
        case SQLITE_BLOB:
            return QByteArray(static_cast<const char*>(sqlite3_column_blob(s, i)),
                              sqlite3_column_bytes(s, i));
        default:
            return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, i)),
                                     sqlite3_column_bytes(s, i));
    }
}

void bindValue(sqlite3_stmt* s, int i, const QVariant& v) {
    if (v.isNull()) {
        sqlite3_bind_null(s, i);
    } else if (v.typeId() == QMetaType::QByteArray) {
        const QByteArray b = v.toByteArray();
        sqlite3_bind_blob(s, i, b.constData(), static_cast<int>(b.size()), SQLITE_TRANSIENT);
    } else if (v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int) {
        sqlite3_bind_int64(s, i, v.toLongLong());
    } else if (v.typeId() == QMetaType::Double) {
        sqlite3_bind_double(s, i, v.toDouble());
    } else {
        const QByteArray t = v.toString().toUtf8();
        sqlite3_bind_text(s, i, t.constData(), static_cast<int>(t.size()), SQLITE_TRANSIENT);
    }
}

// Ends a transaction that a failed statement left open; the engine may have ended it already.
void rollback(sqlite3* db) {
    if (sqlite3_get_autocommit(db) == 0) {
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
    }
}

}  // namespace

QVariant Field::Value() const {
    return rs_->value(column_);
}
void Field::setValue(const QVariant& value) {
    rs_->setValue(column_, value);
}
int FieldsCollection::Count() const {
    return static_cast<int>(rs_->columns_.size());
}

DbError Recordset::Open(const QString& source, Connection& activeConnection, int /*cursorType*/,
                        int /*lockType*/, int /*options*/) {
    rows_.clear();
    columns_.clear();
    table_.clear();
    position_ = -1;
    connection_ = &activeConnection;
    if (!activeConnection.isOpen()) {
        return {DbProblem::NotOpen, QStringLiteral("connection not open")};
    }
    if (DbError e = readRows(source)) {
        rows_.clear();
        columns_.clear();
        return e;
    }
    position_ = 0;
    return {};
}

// Each row's id is asked for alongside the query's columns, so that written rows can be found
// again; the query's own columns keep their positions from 0.
DbError Recordset::readRows(const QString& source) {
    static const QRegularExpression select(QStringLiteral("^\\s*select\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = select.match(source);
    if (!m.hasMatch()) {
        return {DbProblem::BadQuery, QStringLiteral("not a query: ") + source};
    }
    const QByteArray sql =
        (QStringLiteral("select _rowid_, ") + source.mid(m.capturedEnd())).toUtf8();
    sqlite3* db = connection_->handle();
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr);
    Statement stmt(raw);
    if (rc != SQLITE_OK) {
        DbError e = errorFromEngine(rc, db, DbProblem::BadQuery);
        if (e.detail.contains(QLatin1String("no such table"))) {
            e.problem = DbProblem::NoTable;
        }
        return e;
    }
    const int n = sqlite3_column_count(raw);
    for (int i = 1; i < n; ++i) {
        const char* table = sqlite3_column_table_name(raw, i);
        const char* origin = sqlite3_column_origin_name(raw, i);
        if (table != nullptr && table_.isEmpty()) {
            table_ = QString::fromUtf8(table);
        } else if (table != nullptr && table_ != QString::fromUtf8(table)) {
            return {DbProblem::BadQuery, QStringLiteral("columns of more than one table")};
        }
        columns_.append(origin != nullptr ? QString::fromUtf8(origin) : QString());
    }
    while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
        Row row;
        row.rowid = sqlite3_column_int64(raw, 0);
        for (int i = 1; i < n; ++i) {
            row.values.append(columnValue(raw, i));
        }
        row.written.fill(false, n - 1);
        rows_.append(std::move(row));
    }
    return rc == SQLITE_DONE ? DbError{} : errorFromEngine(rc, db, DbProblem::Unreadable);
}

void Recordset::MoveNext() {
    if (!atEnd()) {
        ++position_;
    }
}

QVariant Recordset::value(int column) const {
    if (atEnd() || column < 0 || column >= columns_.size()) {
        return {};
    }
    return rows_[position_].values[column];
}

void Recordset::setValue(int column, const QVariant& value) {
    Q_ASSERT_X(!atEnd() && column >= 0 && column < columns_.size(), "Field", "no such field");
    if (atEnd() || column < 0 || column >= columns_.size()) {
        return;
    }
    Row& row = rows_[position_];
    row.values[column] = value;
    row.written[column] = true;
    row.changed = true;
}

DbError Recordset::UpdateBatch(int /*affectRecords*/) {
    if (connection_ == nullptr || !connection_->isOpen()) {
        return {DbProblem::NotOpen, QStringLiteral("connection not open")};
    }
    return writeChangedRows();
}

DbError Recordset::Close() {
    DbError e;
    if (hasChanges()) {
        e = UpdateBatch(adAffectAll);
    }
    rows_.clear();
    columns_.clear();
    position_ = -1;
    connection_ = nullptr;
    return e;
}

bool Recordset::hasChanges() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const Row& r) { return r.changed; });
}

void Recordset::forgetChanges() {
    for (Row& row : rows_) {
        row.changed = false;
        row.written.fill(false);
    }
}

DbError Recordset::writeChangedRows() {
    if (!hasChanges()) {
        return {};
    }
    // A refused batch is dropped whole, so that closing afterwards cannot write half of it.
    const DbError e = writeInOneTransaction();
    forgetChanges();
    return e;
}

DbError Recordset::writeInOneTransaction() {
    sqlite3* db = connection_->handle();
    // IMMEDIATE: a file someone else is writing is refused here, before any row is touched.
    int rc = sqlite3_exec(db, "BEGIN IMMEDIATE;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        return errorFromEngine(rc, db, DbProblem::WriteFailed);
    }
    for (const Row& row : rows_) {
        if (!row.changed) {
            continue;
        }
        if (DbError e = writeRow(row)) {
            rollback(db);
            return e;
        }
    }
    rc = sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const DbError e = errorFromEngine(rc, db, DbProblem::WriteFailed);
        rollback(db);
        return e;
    }
    return {};
}

DbError Recordset::writeRow(const Row& row) {
    QStringList sets;
    QList<int> columns;
    for (int c = 0; c < columns_.size(); ++c) {
        if (!row.written[c]) {
            continue;
        }
        if (columns_[c].isEmpty() || table_.isEmpty()) {
            return {DbProblem::BadQuery, QStringLiteral("column %1 cannot be written").arg(c)};
        }
        sets.append(quoteIdentifier(columns_[c]) + QStringLiteral(" = ?"));
        columns.append(c);
    }
    const QByteArray sql = QStringLiteral("UPDATE %1 SET %2 WHERE _rowid_ = ?")
                               .arg(quoteIdentifier(table_), sets.join(QStringLiteral(", ")))
                               .toUtf8();
    sqlite3* db = connection_->handle();
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.constData(), static_cast<int>(sql.size()), &raw, nullptr);
    Statement stmt(raw);
    if (rc != SQLITE_OK) {
        return errorFromEngine(rc, db, DbProblem::WriteFailed);
    }
    for (int i = 0; i < columns.size(); ++i) {
        bindValue(raw, i + 1, row.values[columns[i]]);
    }
    sqlite3_bind_int64(raw, static_cast<int>(columns.size()) + 1, row.rowid);
    rc = sqlite3_step(raw);
    if (rc != SQLITE_DONE) {
        return errorFromEngine(rc, db, DbProblem::WriteFailed);
    }
    if (sqlite3_changes(db) != 1) {
        return {DbProblem::WriteFailed, QStringLiteral("a row read earlier is gone")};
    }
    return {};
}

}  // namespace sortilo::db
