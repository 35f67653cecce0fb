#include "titles/store/TitleStore.h"

#include "platform/AppFiles.h"
#include "platform/Texts.h"
#include "platform/db/Recordset.h"

#include <QFileInfo>

#include <algorithm>

namespace sortilo {

namespace {

// Name and titles 1 to 25: the columns the store reads and writes, by position.
constexpr int StoredColumns = TitlesPerSet + 1;
constexpr int CountColumn = TitlesPerSet + 1;
const QString TitleQuery = QStringLiteral("select * from 标题 ");

using TitleTable = decltype(DrawState::titleSets);

TitleStoreProblem openProblem(db::DbProblem p) {
    switch (p) {
        case db::DbProblem::Missing:
            return TitleStoreProblem::Missing;
        case db::DbProblem::NotADatabase:
            return TitleStoreProblem::NotOpened;
        case db::DbProblem::NoTable:
        case db::DbProblem::BadQuery:
            return TitleStoreProblem::NoTable;
        default:
            return TitleStoreProblem::Unreadable;
    }
}

// Operations 1 to 3 of every load and save, and the shape the store relies on: six rows of at
// least 26 columns. Nothing has been written when this fails.
TitleStoreError openTitles(db::Connection& cn, db::Recordset& rs, const QString& appFolder) {
    const QString path = TitleDatabasePath(appFolder);
    if (db::DbError e = cn.Open(TitleConnectionString(appFolder), QString(), QString(), -1)) {
        return {openProblem(e.problem), path, e.detail};
    }
    if (db::DbError e = rs.Open(TitleQuery, cn, db::adOpenStatic, db::adLockOptimistic, -1)) {
        return {openProblem(e.problem), path, e.detail};
    }
    if (rs.RecordCount() < TitleSets) {
        return {TitleStoreProblem::TooFewRows, path, QString::number(rs.RecordCount())};
    }
    if (rs.Fields().Count() < StoredColumns) {
        return {TitleStoreProblem::TooFewColumns, path, QString::number(rs.Fields().Count())};
    }
    rs.MoveFirst();
    return {};
}

// One row into set s. Stops at the first empty or null column; the count is that column's
// position less one, so an empty name gives -1.
void readRow(db::FieldsCollection& fields, TitleTable& sets, int s) {
    for (int k = 0; k < StoredColumns; ++k) {
        db::Field field = fields.Item(k);
        const QVariant value = field.Value();
        if (value.isNull()) {
            field.setValue(QString(QLatin1String("")));
        }
        const QString text = value.toString();
        if (text.isEmpty()) {
            sets(s, CountColumn) = QString::number(k - 1);
            return;
        }
        if (k == TitlesPerSet) {
            sets(s, CountColumn) = QString::number(TitlesPerSet);
        }
        sets(s, k) = text;
    }
}

void writeRow(db::FieldsCollection& fields, const DrawState& state, int s, const QString& name) {
    const int n = std::clamp(titleCount(state, s), -1, TitlesPerSet);
    for (int k = 1; k <= n; ++k) {
        fields.Item(k).setValue(state.titleSets(s, k));
    }
    for (int k = n + 1; k < StoredColumns; ++k) {
        fields.Item(k).setValue(QString(QLatin1String("")));
    }
    fields.Item(0).setValue(name);
}

}  // namespace

QString TitleDatabasePath(const QString& appFolder) {
    return appFilePath(appFolder, TitleDatabaseName);
}

QString TitleConnectionString(const QString& appFolder) {
    return QStringLiteral("provider=microsoft.jet.oledb.4.0;Jet OLEDB:Database password=") +
           TitleDatabasePassword + QStringLiteral(";data source=") + TitleDatabasePath(appFolder);
}

QString TitleStoreError::message() const {
    // The file's name, as the workbook messages name theirs.
    const QString file = QFileInfo(path).fileName();
    switch (problem) {
        case TitleStoreProblem::None:
            return {};
        case TitleStoreProblem::Missing:
            return texts::TitleDbMissing.arg(file);
        case TitleStoreProblem::Unreadable:
            return texts::TitleDbUnreadable.arg(file);
        case TitleStoreProblem::NotOpened:
            return texts::TitleDbNotOpened.arg(file);
        case TitleStoreProblem::NoTable:
            return texts::TitleDbNoTable.arg(file);
        case TitleStoreProblem::TooFewRows:
            return texts::TitleDbTooFewRows.arg(file);
        case TitleStoreProblem::TooFewColumns:
            return texts::TitleDbTooFewColumns.arg(file);
        case TitleStoreProblem::NotWritten:
            return texts::TitleDbNotWritten.arg(file);
    }
    return {};
}

int titleCount(const DrawState& state, int s) {
    bool ok = false;
    const int n = state.titleSets(s, CountColumn).toInt(&ok);
    return ok ? n : 0;
}

TitleStoreError LoadTitleSets(DrawState& state, const QString& appFolder) {
    db::Connection cn;
    db::Recordset rs;
    if (TitleStoreError e = openTitles(cn, rs, appFolder)) {
        return e;
    }
    // Filled into a copy: the window's sets change only when the whole load went through.
    TitleTable sets = state.titleSets;
    for (int s = 1; s <= TitleSets; ++s) {
        readRow(rs.Fields(), sets, s);
        rs.MoveNext();
    }
    const db::DbError e = rs.Close();
    cn.Close();
    if (e) {
        return {TitleStoreProblem::NotWritten, TitleDatabasePath(appFolder), e.detail};
    }
    state.titleSets = sets;
    return {};
}

TitleStoreError SaveTitleSets(const DrawState& state, const QString& appFolder,
                              const TitleSetNames& names) {
    db::Connection cn;
    db::Recordset rs;
    if (TitleStoreError e = openTitles(cn, rs, appFolder)) {
        return e;
    }
    for (int s = 1; s <= TitleSets; ++s) {
        writeRow(rs.Fields(), state, s, names[static_cast<size_t>(s - 1)]);
        rs.MoveNext();
    }
    db::DbError e = rs.UpdateBatch(db::adAffectAll);
    rs.Close();
    cn.Close();
    if (e) {
        return {TitleStoreProblem::NotWritten, TitleDatabasePath(appFolder), e.detail};
    }
    return {};
}

void ApplyTitleSet(DrawState& state, int s) {
    setDefaultTitles(state);
    const int n = std::min(titleCount(state, s), TitlesPerSet);
    for (int j = 1; j <= n; ++j) {
        state.groupTitles(j) = state.titleSets(s, j);
    }
}

}  // namespace sortilo
