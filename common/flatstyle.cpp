#include "flatstyle.h"

namespace Common {

QString flatButtonRules(const QString &prefix)
{
    return prefix + QStringLiteral("QPushButton { color: rgba(255,255,255,255); background-color: rgba(83,83,83,255);"
                                   " font-family: Segoe UI Semibold, Arial; border: none; border-radius: 5px;"
                                   " width: 60px; font-weight: bold; padding: 8px; qproperty-flat: True; }")
           + prefix + QStringLiteral("QPushButton:hover { background-color: rgba(231,40,56,255); }")
           + prefix + QStringLiteral("QPushButton:pressed { background-color: rgba(204,35,49,255); }");
}

} // namespace Common
