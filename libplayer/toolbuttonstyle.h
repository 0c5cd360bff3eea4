#pragma once
// Style sheets of the bottom bar's image buttons. The buttons draw themselves
// only through these: a normal image and a hover image (resource paths).

#include <QString>

namespace LibPlayer {

// Plain buttons (full screen, play/pause): normal and hover image.
QString plainButtonStyle(const QString &normalImage, const QString &hoverImage);

// Menu buttons: the hover image also while pressed or checked, no menu arrow.
QString menuButtonStyle(const QString &normalImage, const QString &hoverImage);

} // namespace LibPlayer
