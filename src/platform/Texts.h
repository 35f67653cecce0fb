#pragma once

#include <QString>

// The program's fixed texts: window caption and every message the operator can see. Kept in one
// place so they are checked together (the README lists them) and could be translated later.
namespace sortilo::texts {

inline const QString WindowCaption = QStringLiteral("SortiloV1.7.8");
inline const QString MessageTitle = QStringLiteral("Sortilo");
inline const QString MenuTitleEditor = QStringLiteral("组别名称自定义");

// ---- Roster: import and editing
inline const QString SpreadsheetOpen =
    QStringLiteral("系统检测到已打开EXCEL文档，需要关闭EXCEL文档才能运行！");

// ---- Draw: settings and the rolling draw
inline const QString KeepChoiceNotSet = QStringLiteral("抽签设置中的保留情况尚未设置，请选择！");
inline const QString CountBelowOne = QStringLiteral("抽签数设定不能为小于1个数据");
inline const QString CountAbovePool = QStringLiteral("抽签的人数必须小于被抽总人数！");
inline const QString CountAboveGroupSize = QStringLiteral("抽签数设定不能为大于1000个数据");
inline const QString GroupsFull = QStringLiteral("抽签结果已满50组，请导出结果后重新导入数据！");
// Follows the number of names left in the pool, e.g. 25可抽值.
inline const QString PoolCountSuffix = QStringLiteral("可抽值");

// ---- Results: lists, details, export

// ---- Titles: store and editor
inline const QString NoTitleSetChosen = QStringLiteral("尚未选中标题集合的行号！");
inline const QString NoTitleTyped = QStringLiteral("输添加标题的内容尚未输入！");
inline const QString TitleSetFull = QStringLiteral("可以容纳的标题内容最多为25项！");
inline const QString NoTitleSelected = QStringLiteral("未选中所需删除的标题内容！");
inline const QString TitlesConfirmed = QStringLiteral("标题内容确认成功！");

// ---- Workbook and database problems

}  // namespace sortilo::texts
