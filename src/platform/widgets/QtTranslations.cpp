#include "platform/widgets/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace sortilo {

bool installQtChineseTranslations() {
    static QTranslator* installed = nullptr;
    if (installed != nullptr) {
        return true;
    }
    // Owned by the application: it serves until the program ends.
    auto translator = std::make_unique<QTranslator>(QCoreApplication::instance());
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get())) {
        return false;
    }
    installed = translator.release();
    return true;
}

}  // namespace sortilo
