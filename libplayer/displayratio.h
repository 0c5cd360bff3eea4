#pragma once

namespace LibPlayer {

// Display aspect ratio of a video stream as two whole numbers, computed in
// unsigned 32-bit arithmetic from the coded size and the sample aspect ratio.
// A zero divisor yields 0 for the number it divides.
struct DisplayRatio
{
    unsigned int width = 0;
    unsigned int height = 0;
};

DisplayRatio displayRatio(unsigned int width, unsigned int height, unsigned int sarNum, unsigned int sarDen);

} // namespace LibPlayer
