// The arithmetic of a download's progress: the whole percentage, and where the
// progress window draws its text, frame and bar.
#pragma once
#include <stdint.h>

// received * 100 / announced, the product in 64 bits, the quotient cut to 32
// bits. Not bounded: a body longer than announced gives more than 100.
uint32_t ComputePercentage(uint64_t received, uint32_t announced);

struct ProgressBox {
    int left, top, right, bottom;
};

struct ProgressLayout {
    ProgressBox text;
    ProgressBox frame;
    ProgressBox bar;
};

// The layout for a window of the given outer size: unit is an eighth of the
// width, middle half the height; the bar grows from the frame's left edge and
// stops at its right edge, whatever the progress.
void ComputeProgressLayout(int outerWidth, int outerHeight, int progress, ProgressLayout *layout);

// The smallest read of a download.
enum { MIN_READ_BLOCK = 8 * 1024 };

// The size of the next read: twice the last when it took under 25 ms, half when
// it took over 150 ms, within MIN_READ_BLOCK and largest.
uint32_t NextReadBlock(uint32_t block, uint32_t elapsedMilliseconds, uint32_t largest);
