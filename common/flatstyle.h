#pragma once
// Style-sheet texts shared by the flat dialogs.

#include <QString>

namespace Common {

// Dark grey flat push buttons that turn red under the mouse.
QString flatButtonRules(const QString &selectorPrefix = QString());

} // namespace Common
