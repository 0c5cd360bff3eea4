#include "videoframelayout.h"

#include <algorithm>

namespace LibPlayer {

QSize videoFrameTextMargins(int frameHeight)
{
    const double h = frameHeight;
    return QSize(static_cast<int>(std::max(0.4 * h, 40.0)),
                 static_cast<int>(std::max(0.1 * h, 40.0)));
}

int videoFrameTextPointSize(const QSize &blockSize, const QSize &frameSize)
{
    if (blockSize.width() <= 0 || blockSize.height() <= 0 || frameSize.isEmpty())
        return videoFrameBasePointSize;
    const QSize scaled = blockSize.scaled(frameSize, Qt::KeepAspectRatio);
    const QSize margins = videoFrameTextMargins(frameSize.height());
    const double widthRatio = double(scaled.width() - margins.width()) / blockSize.width();
    const double heightRatio = double(scaled.height() - margins.height()) / blockSize.height();
    const int size = static_cast<int>(std::min(widthRatio, heightRatio) * double(videoFrameBasePointSize));
    return std::max(size, videoFrameBasePointSize);
}

} // namespace LibPlayer
