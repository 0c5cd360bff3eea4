#pragma once
// Style-sheet texts and window flags shared by the flat dialogs.

#include <QString>

namespace Common {

// Dark grey flat push buttons that turn red under the mouse.
QString flatButtonRules(const QString &selectorPrefix = QString());

// Frameless, and a dialog to the window system: a dialog with a parent is
// transient for the parent's window, so that it stays above it even when
// that window is kept on top of others.
constexpr Qt::WindowFlags flatDialogFlags = Qt::Dialog | Qt::FramelessWindowHint | Qt::CustomizeWindowHint;

} // namespace Common
