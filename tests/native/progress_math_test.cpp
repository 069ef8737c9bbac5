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
