#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "probe/dotnet_version.h"

namespace {

struct VersionCase {
    const wchar_t *text;
    int parts[4];
    int found;
    int sufficient;
};

TEST(DotNetVersion, ParsesAndComparesLikeTheSetupKeysNeed)
{
    const VersionCase cases[] = {
        {L"4.0.30319", {4, 0, 30319, 0}, 3, 1},
        {L"4.0.30318", {4, 0, 30318, 0}, 3, 0},
        {L"4.0.30319.-1", {4, 0, 30319, -1}, 4, 0},
        {L"4.5.1", {4, 5, 1, 0}, 3, 1},
        {L"4.0.030319", {4, 0, 30319, 0}, 3, 1},
        {L"4", {4, 0, 0, 0}, 1, 0},
        {L"4.1", {4, 1, 0, 0}, 2, 1},
        {L"5", {5, 0, 0, 0}, 1, 1},
        {L"3.9.99999", {3, 9, 99999, 0}, 3, 0},
        {L"4..0...30319", {4, 0, 30319, 0}, 3, 1},
        {L".4.0.30319.", {4, 0, 30319, 0}, 3, 1},
        {L"v4.0.30319", {0, 0, 30319, 0}, 3, 0},
        {L"4.0.30319 SP1", {4, 0, 30319, 0}, 3, 1},
        {L"99999999999", {2147483647, 0, 0, 0}, 1, 1},
        {L"-99999999999", {-2147483647 - 1, 0, 0, 0}, 1, 0},
        {L"4.0.30319.0.7", {4, 0, 30319, 0}, 4, 1},
        {L" 4.0.30319", {4, 0, 30319, 0}, 3, 1},
        {L"\t+4.0.+30319", {4, 0, 30319, 0}, 3, 1},
        {L"4.-0.30319", {4, 0, 30319, 0}, 3, 1},
        {L"4.0.30319.2147483648", {4, 0, 30319, 2147483647}, 4, 1},
        {L"", {0, 0, 0, 0}, 0, 0},
        {L"...", {0, 0, 0, 0}, 0, 0},
    };
    for (const VersionCase &c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        int parts[4] = {7, 7, 7, 7};
        EXPECT_EQ(c.found, ParseDotNetVersion(c.text, wcslen(c.text) + 1, parts));
        for (int k = 0; k < 4; k++)
            EXPECT_EQ(c.parts[k], parts[k]) << "part " << k;
        EXPECT_EQ(c.sufficient, IsDotNet4VersionTextSufficient(c.text, wcslen(c.text) + 1));
    }
}

TEST(DotNetVersion, NeverReadsPastTheGivenLength)
{
    // Data without a terminator: the length alone ends the text. The vector's
    // exact size lets AddressSanitizer catch a read beyond it.
    std::vector<wchar_t> unterminated = {L'4', L'.', L'0', L'.', L'3', L'0', L'3', L'1', L'9'};
    EXPECT_EQ(1, IsDotNet4VersionTextSufficient(unterminated.data(), unterminated.size()));
    // Only the first eight characters: 4.0.3031 is too old.
    EXPECT_EQ(0, IsDotNet4VersionTextSufficient(unterminated.data(), 8));
    EXPECT_EQ(0, IsDotNet4VersionTextSufficient(unterminated.data(), 0));

    // A NUL within the length ends the text there.
    const wchar_t early[] = L"4.0\0.30319";
    int parts[4];
    EXPECT_EQ(2, ParseDotNetVersion(early, sizeof early / sizeof early[0], parts));
    EXPECT_EQ(0, IsDotNet4VersionTextSufficient(early, sizeof early / sizeof early[0]));

    // Digits running to the very end of the data.
    std::vector<wchar_t> digits(64, L'9');
    EXPECT_EQ(1, ParseDotNetVersion(digits.data(), digits.size(), parts));
    EXPECT_EQ(2147483647, parts[0]);
}

} // namespace
