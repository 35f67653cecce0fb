#include "platform/db/Connection.h"
#include "titles/store/TitleStore.h"

#include <QFileInfo>
#include <QStringList>

namespace sortilo {

namespace {

QString sqlText(const QString& text) {
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}

// A set as the program itself stores one: name, titles, then empty texts up to title 25.
QString insertRow(const QString& name, const QStringList& titles) {
    QStringList values{sqlText(name)};
    for (int k = 1; k <= TitlesPerSet; ++k) {
        values.append(sqlText(k <= titles.size() ? titles[k - 1] : QString()));
    }
    return QStringLiteral("INSERT INTO 标题 VALUES (%1)").arg(values.join(QStringLiteral(", ")));
}

}  // namespace

Result<void> createSampleTitleDatabase(const QString& path) {
    if (QFileInfo::exists(path)) {
        return {};
    }
    QStringList columns{QStringLiteral("名称 TEXT")};
    for (int k = 1; k <= TitlesPerSet; ++k) {
        columns.append(QStringLiteral("标题%1 TEXT").arg(k));
    }
    const QStringList statements{
        QStringLiteral("CREATE TABLE 标题 (%1)").arg(columns.join(QStringLiteral(", "))),
        insertRow(QStringLiteral("方案一"),
                  {QStringLiteral("一等奖"), QStringLiteral("二等奖"), QStringLiteral("三等奖")}),
        insertRow(QStringLiteral("方案二"), {QStringLiteral("第一轮"), QStringLiteral("第二轮"),
                                             QStringLiteral("第三轮"), QStringLiteral("第四轮")}),
        insertRow(QStringLiteral("方案三"), {QStringLiteral("上午场"), QStringLiteral("下午场")}),
        insertRow(QStringLiteral("方案四"), {}),
        insertRow(QStringLiteral("方案五"), {}),
        insertRow(QStringLiteral("方案六"), {}),
    };
    return db::createDatabase(path, TitleDatabasePassword, statements);
}

}  // namespace sortilo
