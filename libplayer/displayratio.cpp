#include "displayratio.h"

namespace LibPlayer {

namespace {
unsigned int divide(unsigned int value, unsigned int divisor)
{
    return divisor == 0 ? 0u : value / divisor;
}
} // namespace

DisplayRatio displayRatio(unsigned int width, unsigned int height, unsigned int sarNum, unsigned int sarDen)
{
    // When the size is large against the sample aspect numbers, dividing by
    // them gives a small pair with the display ratio (720x576 at 16:15 gives
    // 48:36); otherwise the width is stretched by the sample aspect.
    if (height >= 3u * sarNum && width >= 4u * sarDen)
        return {divide(width, sarDen), divide(height, sarNum)};
    return {divide(width * sarNum, sarDen), sarNum == 0 ? 0u : height};
}

} // namespace LibPlayer
