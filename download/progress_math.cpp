#include "progress_math.h"

uint32_t ComputePercentage(uint64_t received, uint32_t announced)
{
    if (announced == 0)
        return 0;
    // received never exceeds what a 64-bit count holds, and so neither does
    // received * 100 for any body a download can deliver.
    return (uint32_t)(received * 100u / announced);
}

void ComputeProgressLayout(int outerWidth, int outerHeight, int progress, ProgressLayout *layout)
{
    int unit = outerWidth / 8;
    int middle = outerHeight / 2;

    // Held within the frame: more bytes than announced must not draw past it.
    if (progress < 0)
        progress = 0;
    if (progress > 100)
        progress = 100;

    layout->text = {unit, middle - 30, 7 * unit, middle - 10};
    layout->frame = {unit, middle - 10, 7 * unit, middle + 10};
    layout->bar = {unit, middle - 10, unit + (int)((int64_t)6 * unit * progress / 100), middle + 10};
}

uint32_t NextReadBlock(uint32_t block, uint32_t elapsedMilliseconds, uint32_t largest)
{
    if (elapsedMilliseconds < 25 && block <= largest / 2)
        return block * 2;
    if (elapsedMilliseconds > 150 && block >= 2 * MIN_READ_BLOCK)
        return block / 2;
    return block;
}
