#include "flatstyle.h"

namespace Common {

QString flatButtonRules(const QString &prefix)
{
    // min-width, not width: a button grows with its text (a translation, a
    // bold font) instead of clipping it.
    return prefix + QStringLiteral("QPushButton { color: rgba(255,255,255,255); background-color: rgba(83,83,83,255);"
                                   " font-family: Segoe UI Semibold, Arial; border: none; border-radius: 5px;"
                                   " min-width: 60px; font-weight: bold; padding: 8px; qproperty-flat: True; }")
           + prefix + QStringLiteral("QPushButton:hover { background-color: rgba(231,40,56,255); }")
           + prefix + QStringLiteral("QPushButton:pressed { background-color: rgba(204,35,49,255); }");
}

} // namespace Common
