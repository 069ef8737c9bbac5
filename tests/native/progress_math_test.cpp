#include <gtest/gtest.h>

#include "download/progress_math.h"

TEST(Percentage, WholePercentOfTheAnnouncedLength)
{
    const struct {
        uint64_t received;
        uint32_t announced;
        uint32_t percentage;
    } cases[] = {
        {0, 2000000, 0},
        {19999, 2000000, 0},
        {20000, 2000000, 1},
        {1000000, 2000000, 50},
        {2000000, 2000000, 100},
        {2048, 1024, 200},                    // more than announced is not bounded here
        {0xFFFFFFFFu, 0xFFFFFFFFu, 100},      // the product needs 64 bits
        {0xFFFFFFFFu, 1, 0xFFFFFF9Cu},        // quotient cut to 32 bits
        {10, 0, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.percentage, ComputePercentage(c.received, c.announced))
            << c.received << " of " << c.announced;
}

TEST(ProgressLayout, BoxesOfA400By150Window)
{
    ProgressLayout layout;
    ComputeProgressLayout(400, 150, 0, &layout);
    EXPECT_EQ(50, layout.text.left);
    EXPECT_EQ(45, layout.text.top);
    EXPECT_EQ(350, layout.text.right);
    EXPECT_EQ(65, layout.text.bottom);
    EXPECT_EQ(50, layout.frame.left);
    EXPECT_EQ(65, layout.frame.top);
    EXPECT_EQ(350, layout.frame.right);
    EXPECT_EQ(85, layout.frame.bottom);
    EXPECT_EQ(50, layout.bar.left);
    EXPECT_EQ(65, layout.bar.top);
    EXPECT_EQ(85, layout.bar.bottom);

    const struct {
        int width, progress, right;
    } bars[] = {
        {400, 0, 50}, {400, 1, 53}, {400, 50, 200}, {400, 100, 350},
        {400, 101, 350}, {400, 200, 350}, {400, 2147483647, 350}, {400, -5, 50},
        {400, 33, 149}, // unit 50: 50 + 9900 / 100, the product before the division
        {401, 33, 149}, {7, 50, 0},
    };
    for (const auto &b : bars) {
        ComputeProgressLayout(b.width, 150, b.progress, &layout);
        EXPECT_EQ(b.right, layout.bar.right) << "width " << b.width << ", progress " << b.progress;
        EXPECT_LE(layout.bar.right, layout.frame.right);
    }
}

TEST(ReadBlock, FollowsHowLongTheLastReadTook)
{
    const uint32_t largest = 256 * 1024;
    const struct {
        uint32_t block, elapsed, next;
    } cases[] = {
        {MIN_READ_BLOCK, 0, 2 * MIN_READ_BLOCK},        // quick: grow
        {largest / 2, 10, largest},
        {largest, 0, largest},                          // never past the buffer
        {largest, 400, largest / 2},                    // slow: shrink
        {MIN_READ_BLOCK, 1000, MIN_READ_BLOCK},         // never below the smallest
        {4 * MIN_READ_BLOCK, 25, 4 * MIN_READ_BLOCK},   // in between: keep
        {4 * MIN_READ_BLOCK, 150, 4 * MIN_READ_BLOCK},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.next, NextReadBlock(c.block, c.elapsed, largest)) << c.block << " after " << c.elapsed << " ms";

    // From the smallest block, a fast link reaches the largest within a few reads.
    uint32_t block = MIN_READ_BLOCK;
    for (int i = 0; i < 5; i++)
        block = NextReadBlock(block, 1, largest);
    EXPECT_EQ(largest, block);
}
