#pragma once

#include <QString>

// The program's fixed texts: window caption and every message the operator can see. Kept in one
// place so they are checked together (the README lists them) and could be translated later.
namespace sortilo::texts {

inline const QString WindowCaption = QStringLiteral("SortiloV1.7.8");
inline const QString MessageTitle = QStringLiteral("Sortilo");
inline const QString MenuTitleEditor = QStringLiteral("组别名称自定义");
// The menu command and the caption of the window the audience watches.
inline const QString AudienceWindowTitle = QStringLiteral("观众窗口");
inline const QString MenuOpenDataFolder = QStringLiteral("打开数据文件夹");
// What `sortilo --help` says above its options.
inline const QString CommandLineDescription = QStringLiteral(
    "在众人面前抽签的桌面程序。Draws lots in front of an audience.\n"
    "数据文件夹 / data folder: SORTILO_DATA_DIR，或“文档/Sortilo”（~/Documents/Sortilo）。");

// ---- Roster: import and editing
inline const QString SpreadsheetOpen =
    QStringLiteral("系统检测到已打开EXCEL文档，需要关闭EXCEL文档才能运行！");
// An import that went through but left names out or found some more than once: the first line
// names the roster's file (%1), then one line for each finding.
inline const QString RosterNotWhole = QStringLiteral("文件“%1”已导入，但有以下情况：");
// %1 the row of the first empty cell in column A, %2 how many names lie below it.
inline const QString RosterEmptyCell = QStringLiteral("名单第%1行是空的，下面的%2个名字没有导入。");
inline const QString RosterOverLimit = QStringLiteral("名单超过2000人，只导入了前2000人。");
// %1 the first few repeated names, each as RepeatedName, then RepeatedNamesMore when there are
// more of them.
inline const QString RosterRepeatedNames =
    QStringLiteral("名单中有重复的名字：%1，这些名字会分别参加抽签，同一个名字可能被抽中多次。");
// %1 the name, %2 how often it is on the roster.
inline const QString RepeatedName = QStringLiteral("%1（%2次）");
inline const QString RepeatedNamesMore = QStringLiteral("等");
inline const QString NameSeparator = QStringLiteral("、");

// ---- Draw: settings and the rolling draw
inline const QString KeepChoiceNotSet = QStringLiteral("抽签设置中的保留情况尚未设置，请选择！");
inline const QString CountBelowOne = QStringLiteral("抽签数设定不能为小于1个数据");
inline const QString CountAbovePool = QStringLiteral("抽签的人数必须小于被抽总人数！");
inline const QString CountAboveGroupSize = QStringLiteral("抽签数设定不能为大于1000个数据");
inline const QString GroupsFull = QStringLiteral("抽签结果已满50组，请导出结果后重新导入数据！");
// Closing the window with groups not exported; %1 is how many.
inline const QString QuitQuestion = QStringLiteral("有%1组抽签结果尚未导出，确定退出吗？");
inline const QString ExportAndQuit = QStringLiteral("导出并退出");
inline const QString QuitWithoutExport = QStringLiteral("退出");
inline const QString CancelQuit = QStringLiteral("取消");

// An absent winner: names of a shown group marked absent, replacements drawn into their places.
inline const QString MarkAbsent = QStringLiteral("缺席，补抽");
// %1 the group's number, %2 the absent names, %3 how many replacements.
inline const QString RedrawQuestion = QStringLiteral("确定第%1组的%2缺席并补抽%3人吗？");
inline const QString NoAbsentSelected = QStringLiteral("请先在抽签结果中选中缺席者的名字！");
inline const QString AbsentInTwoGroups =
    QStringLiteral("一次只能为一组补抽，请只选中同一组中缺席者的名字！");
inline const QString RedrawWhileRolling = QStringLiteral("正在抽签，请先按“结束”再补抽！");
inline const QString TooFewToRedraw = QStringLiteral("可补抽的人数不足！");
// Follows the number of names left in the pool, e.g. 25可抽值.
inline const QString PoolCountSuffix = QStringLiteral("可抽值");

// ---- Results: lists, details, export

// ---- Titles: store and editor
inline const QString NoTitleSetChosen = QStringLiteral("尚未选中标题集合的行号！");
inline const QString NoTitleTyped = QStringLiteral("输添加标题的内容尚未输入！");
inline const QString TitleSetFull = QStringLiteral("可以容纳的标题内容最多为25项！");
inline const QString NoTitleSelected = QStringLiteral("未选中所需删除的标题内容！");
inline const QString TitlesConfirmed = QStringLiteral("标题内容确认成功！");
// %1 is the set's number, 1 to 6: its name box is empty while the set has titles.
inline const QString TitleSetNameEmpty =
    QStringLiteral("第%1个标题集合已有标题，名称不能为空，请输入名称后再确认！");
// Problems of the title database; %1 is the file.
inline const QString TitleDbMissing =
    QStringLiteral("标题数据库文件“%1”不存在，无法读取或保存标题内容！");
inline const QString TitleDbUnreadable =
    QStringLiteral("标题数据库文件“%1”无法读取，可能已损坏或被其他程序占用！");
inline const QString TitleDbNotOpened =
    QStringLiteral("标题数据库文件“%1”不是标题数据库或密码不符，无法打开！");
inline const QString TitleDbNoTable = QStringLiteral("标题数据库文件“%1”中没有可用的标题表！");
inline const QString TitleDbTooFewRows =
    QStringLiteral("标题数据库文件“%1”的标题表不足6行，无法使用！");
inline const QString TitleDbTooFewColumns =
    QStringLiteral("标题数据库文件“%1”的标题表不足26列，无法使用！");
inline const QString TitleDbNotWritten =
    QStringLiteral("标题数据库文件“%1”无法写入，可能是只读文件或被其他程序占用！");

// ---- The draw record
inline const QString MenuEntropy = QStringLiteral("现场随机数");
inline const QString MenuDrawRecord = QStringLiteral("抽签记录");
inline const QString EntropyPrompt = QStringLiteral(
    "请现场观众输入任意文字或数字（例如现场报出的几个数字），它与屏幕上的抽签承诺一起决定本次"
    "抽签的结果：");
// What 抽签记录 shows: %1 the commitment, %2 the roster's digest, %3 the number of names, %4 the
// room's text (or EntropyNone), %5 the groups drawn, %6 the record's file.
inline const QString DrawRecordSummary = QStringLiteral(
    "抽签承诺：%1\n名单摘要：%2（共%3人）\n现场随机数：%4\n已抽组数：%5\n抽签记录：%6\n\n"
    "本次抽签结束（再次导入名单或退出程序）后，记录的最后一行公布秘密值，任何人都可以用"
    "sortilo-verify-draw核对全部抽签结果。");
inline const QString EntropyNone = QStringLiteral("未加入");
inline const QString NoRecord = QStringLiteral("（无）");
// The audience window before the first group: %1 the commitment's first 16 hex digits in groups
// of four, %2 the number of names, %3 the digest's first 8 digits, %4 EntropyAdded/EntropyNotAdded.
inline const QString AudienceSeal = QStringLiteral("抽签承诺 %1 · 共%2人 · 名单摘要 %3 · %4");
inline const QString EntropyAddedNote = QStringLiteral("已加入现场随机数");
inline const QString EntropyNotAddedNote = QStringLiteral("未加入现场随机数");
// After a group whose line the record could not take.
inline const QString AudienceRecordIncomplete = QStringLiteral("抽签记录不完整");
// After a group: %1 the record's line, %2 the first 8 hex digits of that line's hash.
inline const QString AudienceRecordMark = QStringLiteral("抽签记录第%1行 · %2");
// %1 is the record's file or folder, in full
inline const QString RecordNotClosed = QStringLiteral(
    "上次的抽签记录“%1”无法补写结尾（公布秘密值的最后一行），请检查该文件夹是否可以写入！");
inline const QString RecordNotWritten =
    QStringLiteral("抽签记录“%1”无法写入，抽签照常进行，但本次抽签的记录不完整！");

// ---- Workbook and database problems
inline const QString WorkbookMissing = QStringLiteral("文件“%1”不存在！");
inline const QString WorkbookUnreadable =
    QStringLiteral("文件“%1”无法读取，请检查文件是否可以访问！");
inline const QString WorkbookOpenElsewhere =
    QStringLiteral("文件“%1”已被其他程序打开，请先关闭该文件！");
inline const QString WorkbookPasswordProtected =
    QStringLiteral("文件“%1”设有打开密码，系统无法读取，请先取消密码！");
inline const QString WorkbookNotAWorkbook = QStringLiteral("文件“%1”不是EXCEL工作簿，而是%2！");
inline const QString WorkbookUnsupported =
    QStringLiteral("文件“%1”是系统不支持的%2，请另存为Excel 97-2003工作簿（.xls）！");
inline const QString WorkbookNotEditable =
    QStringLiteral("文件“%1”中有系统无法安全改写的内容，原文件未被改动！");
inline const QString WorkbookCorrupt = QStringLiteral("文件“%1”已损坏，系统无法读取！");
inline const QString WorkbookCellNotText =
    QStringLiteral("文件“%1”中单元格%2的值是错误值，无法作为名单读取！");
inline const QString WorkbookNotSaved = QStringLiteral("文件“%1”保存失败，原文件未被改动！");
inline const QString WorkbookHardLinked =
    QStringLiteral("文件“%1”有多个硬链接，保存会断开这些链接，原文件未被改动！");
inline const QString WorkbookNoSheet =
    QStringLiteral("文件“%1”打开时显示的不是工作表，没有可读取的单元格！");
inline const QString WorkbookNoSheetToWrite =
    QStringLiteral("文件“%1”打开时显示的不是工作表，无法写入抽签结果，原文件未被改动！");
// The desktop could not open a workbook; %1 is its full path, so the operator can open it by hand.
inline const QString WorkbookNotShown =
    QStringLiteral("系统无法自动打开文件“%1”，请手动打开该文件！");
// The data folder; %1 is its full path.
inline const QString DataFolderNotMade = QStringLiteral(
    "无法建立数据文件夹“%1”或无法在其中写入文件，名单、抽签结果和标题将无法读取或保存！");
inline const QString DataFolderNotShown =
    QStringLiteral("系统无法自动打开文件夹“%1”，请手动打开该文件夹！");
inline const QString ExportNotShown =
    QStringLiteral("抽签结果已保存到文件“%1”，但系统无法自动打开该文件，请手动打开！");
// What a file is when it is not a workbook the program reads (inserted into the texts above).
inline const QString FileKindEmpty = QStringLiteral("空文件");
inline const QString FileKindText = QStringLiteral("CSV或文本文件");
inline const QString FileKindUnicodeText = QStringLiteral("Unicode文本文件");
inline const QString FileKindHtml = QStringLiteral("网页（HTML）文件");
inline const QString FileKindXml2003 = QStringLiteral("XML表格（Excel 2003 XML）文件");
inline const QString FileKindXml = QStringLiteral("XML文件");
inline const QString FileKindZip = QStringLiteral("ZIP压缩文件");
inline const QString FileKindOds = QStringLiteral("OpenDocument表格（ods）文件");
inline const QString FileKindOtherOle = QStringLiteral("其他Office文档（如Word或PowerPoint文档）");
inline const QString FileKindOther = QStringLiteral("其他类型的文件");
inline const QString FileKindOldBiff = QStringLiteral("Excel 2.x至4.x格式的工作表");
inline const QString FileKindXlsb = QStringLiteral("EXCEL二进制工作簿（xlsb）");
inline const QString FileKindUnknownBiff = QStringLiteral("未知版本的EXCEL工作簿");
inline const QString FileKindBareBiff = QStringLiteral("缺少文件容器的Excel数据流");
inline const QString FileKindXlsxWorkbook = QStringLiteral("xlsx格式的工作簿");
inline const QString FileKindBiff5Workbook = QStringLiteral("Excel 5.0/95格式的工作簿");

}  // namespace sortilo::texts
