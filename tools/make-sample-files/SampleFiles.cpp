#include "SampleFiles.h"

#include "WorkbookWriter.h"
#include "platform/AppFiles.h"
#include "titles/store/TitleStore.h"

#include <QFileInfo>

namespace sortilo {

namespace {

xls::NewWorkbook sampleRoster() {
    xls::NewSheet sheet{QStringLiteral("名单"), {}};
    sheet.cells.push_back({1, 1, QStringLiteral("抽签名单")});
    sheet.cells.push_back({2, 1, QStringLiteral("姓名（从第3行起，每行一个）")});
    const QStringList names = sampleRosterNames();
    for (int i = 0; i < names.size(); ++i) {
        sheet.cells.push_back({i + 3, 1, names[i]});
    }
    return {{sheet}, 0};
}

xls::NewWorkbook sampleExport() {
    return {{xls::NewSheet{QStringLiteral("抽签结果"), {}}}, 0};
}

}  // namespace

QStringList sampleRosterNames() {
    return QStringLiteral(
               "张伟 王芳 李娜 刘洋 陈静 杨磊 赵敏 黄强 周婷 吴斌 徐丽 孙浩 胡军 朱琳 高峰 林晓 "
               "何平 郭涛 马超 罗勇 梁爽 宋佳 郑凯 谢颖 韩雪 唐亮 冯霞 于洋 董鹏 萧然 程诚 曹阳 "
               "袁媛 邓超 许晴 傅雷 沈冰 曾毅 彭博 吕萌")
        .split(QLatin1Char(' '));
}

QStringList writeSampleFiles(const QString& appFolder) {
    QStringList problems;
    const auto writeWorkbook = [&](const QString& name, const xls::NewWorkbook& book) {
        const QString path = appFilePath(appFolder, name);
        if (QFileInfo::exists(path)) {
            return;
        }
        if (const Result<void> written = xls::createWorkbook(path, book); !written) {
            problems << QStringLiteral("%1: %2").arg(path, written.error().detail);
        }
    };
    writeWorkbook(ImportWorkbookName, sampleRoster());
    writeWorkbook(ExportWorkbookName, sampleExport());
    const QString titles = appFilePath(appFolder, TitleDatabaseName);
    if (const Result<void> written = createSampleTitleDatabase(titles); !written) {
        problems << QStringLiteral("%1: %2").arg(titles, written.error().detail);
    }
    return problems;
}

}  // namespace sortilo
