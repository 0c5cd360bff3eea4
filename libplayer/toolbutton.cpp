#include "toolbutton.h"

#include "toolbuttonstyle.h"

namespace LibPlayer {

ToolButton::ToolButton(const QString &normalImage, const QString &hoverImage, QWidget *parent)
    : QToolButton(parent)
{
    setStyleSheet(plainButtonStyle(normalImage, hoverImage));
    connect(this, &QToolButton::released, this, &ToolButton::handleReleased);
}

ToolButton::~ToolButton() = default;

void ToolButton::handleReleased()
{
    emit fired();
}

} // namespace LibPlayer
