#include "toolbuttonstyle.h"

namespace LibPlayer {

QString plainButtonStyle(const QString &normalImage, const QString &hoverImage)
{
    return QStringLiteral(" QToolButton { image : url(%1); }  QToolButton:hover { image : url(%2); } ")
        .arg(normalImage, hoverImage);
}

QString menuButtonStyle(const QString &normalImage, const QString &hoverImage)
{
    return QStringLiteral(" QToolButton { image : url(%1); }  QToolButton:hover { image : url(%2); }"
                          "  QToolButton:pressed { image : url(%2); }  QToolButton:checked { image : url(%2); }"
                          "  QToolButton::menu-indicator { image : none; } ")
        .arg(normalImage, hoverImage);
}

} // namespace LibPlayer
