// Trimming and whole numbers, as the settings, the score table and the
// command line read them.

#include <gtest/gtest.h>

#include <climits>

#include "common/Text.h"

namespace {

TEST(TextTest, TrimsOnlyTheGivenBlanksAtTheEnds) {
    EXPECT_EQ(plain_text::Trimmed(" \tvolume = 80\r"), "volume = 80");
    EXPECT_EQ(plain_text::Trimmed(" \t\r "), "");
    EXPECT_EQ(plain_text::Trimmed("\tLeft Alt ", " "), "\tLeft Alt");
}

TEST(TextTest, ReadsWholeNumbersAndNothingElse) {
    unsigned long long value = 7;
    ASSERT_TRUE(plain_text::ParseWhole("0042", 100, value));
    EXPECT_EQ(value, 42u);
    ASSERT_TRUE(plain_text::ParseWhole("18446744073709551615", ULLONG_MAX, value));
    EXPECT_EQ(value, ULLONG_MAX);
    value = 7;
    for (const char* bad : {"", "101", "-1", "+1", " 1", "1 ", "1x", "18446744073709551616"}) {
        EXPECT_FALSE(plain_text::ParseWhole(bad, 100, value)) << "'" << bad << "'";
    }
    EXPECT_FALSE(plain_text::ParseWhole("18446744073709551616", ULLONG_MAX, value));
    EXPECT_EQ(value, 7u) << "a refused number changed the value";
}

}  // namespace
