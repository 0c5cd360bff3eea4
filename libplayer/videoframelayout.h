#pragma once
// Size arithmetic of the text lines the video frame paints over an empty
// picture: the block of lines is scaled to fill the frame, less margins taken
// from the frame's height, and never drawn below the base size.

#include <QSize>

namespace LibPlayer {

// Point size the lines are measured at, and the smallest size they are drawn at.
constexpr int videoFrameBasePointSize = 16;

// Margins taken off the scaled text block: width max(0.4 h, 40),
// height max(0.1 h, 40), truncated, for a frame h pixels high.
QSize videoFrameTextMargins(int frameHeight);

// Point size that makes a block measured as blockSize at the base size fill
// frameSize, less the margins; the base size when the block cannot grow (or
// either size is empty).
int videoFrameTextPointSize(const QSize &blockSize, const QSize &frameSize);

} // namespace LibPlayer
