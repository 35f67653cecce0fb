#pragma once

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"

#include <QList>
#include <QString>
#include <QVariant>

namespace sortilo::db {

// The argument values of the access layer that the title store passes.
inline constexpr int adOpenStatic = 3;
inline constexpr int adLockOptimistic = 3;
inline constexpr int adAffectAll = 3;

class Recordset;

// One column of the current row. Value() is null (QVariant::isNull) where the column holds no
// value; setValue marks the column written even when the value does not change.
class Field {
public:
    QVariant Value() const;
    void setValue(const QVariant& value);

private:
    friend class FieldsCollection;
    Field(Recordset& rs, int column) : rs_(&rs), column_(column) {}
    Recordset* rs_;
    int column_;
};

// The columns of the current row, by position from 0.
class FieldsCollection {
public:
    Field Item(int index) const { return Field(*rs_, index); }
    int Count() const;

private:
    friend class Recordset;
    explicit FieldsCollection(Recordset& rs) : rs_(&rs) {}
    Recordset* rs_;
};

// A static cursor with optimistic locking over the rows of a query: all rows are read into
// memory with their row ids when it opens. Written columns are kept until UpdateBatch or Close,
// which write every changed row in one transaction: either all of them reach the file or none,
// and a refused batch is dropped.
class Recordset {
public:
    Recordset() : fields_(*this) {}
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    // source: a query of the form "select ... from <table> ...", whose columns the rows are
    // written back to by name.
    DbError Open(const QString& source, Connection& activeConnection, int cursorType, int lockType,
                 int options = -1);
    void MoveFirst() { position_ = 0; }
    void MoveNext();
    bool atEnd() const { return position_ < 0 || position_ >= rows_.size(); }
    int RecordCount() const { return static_cast<int>(rows_.size()); }
    FieldsCollection& Fields() { return fields_; }
    DbError UpdateBatch(int affectRecords = adAffectAll);
    // Writes what is still pending, like UpdateBatch, then lets go of the rows.
    DbError Close();

private:
    friend class Field;
    friend class FieldsCollection;
    struct Row {
        qint64 rowid = 0;
        QList<QVariant> values;
        QList<bool> written;
        bool changed = false;
    };

    QVariant value(int column) const;
    void setValue(int column, const QVariant& value);
    DbError readRows(const QString& source);
    bool hasChanges() const;
    void forgetChanges();
    DbError writeChangedRows();
    DbError writeInOneTransaction();
    DbError writeRow(const Row& row);

    FieldsCollection fields_;
    Connection* connection_ = nullptr;
    QString table_;
    QList<QString> columns_;  // the table column behind each query column; empty: computed
    QList<Row> rows_;
    qsizetype position_ = -1;
};

}  // namespace sortilo::db
