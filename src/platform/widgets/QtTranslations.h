#pragma once

namespace sortilo {

// Qt's own texts (the OK of a message box, a text box's context menu) in Chinese, from the
// translations the Qt packages install. Installed once; false when they cannot be found, in which
// case Qt's English texts stay.
bool installQtChineseTranslations();

}  // namespace sortilo
