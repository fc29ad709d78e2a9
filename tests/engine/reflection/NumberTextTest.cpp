// Locale-free number reading for reflected values.
#include <gtest/gtest.h>

#include "engine/reflection/NumberText.h"

using namespace quellor::number_text;

TEST(NumberText, IntegersReadTheirNumericPrefix)
{
    const std::pair<const char*, long long> good[] = {
        {"7", 7}, {"  -12", -12}, {"+5", 5}, {"12abc", 12}, {"1.9", 1}, {"\t42\n", 42},
        {"-9223372036854775808", -9223372036854775807LL - 1}, {"9223372036854775807", 9223372036854775807LL},
    };
    for (const auto& [text, expected] : good) {
        long long value = -1;
        ASSERT_EQ(ParseInteger(text, value), Parsed::Number) << text;
        EXPECT_EQ(value, expected) << text;
    }
    for (const char* bad : {"", "abc", "-", "+-3", " x1"}) {
        long long value = 99;
        EXPECT_EQ(ParseInteger(bad, value), Parsed::NotANumber) << bad;
        EXPECT_EQ(value, 99) << bad;
    }
    for (const char* big : {"9223372036854775808", "-9223372036854775809", "123456789012345678901234567890"}) {
        long long value = 99;
        EXPECT_EQ(ParseInteger(big, value), Parsed::OutOfRange) << big;
        EXPECT_EQ(value, 99) << big;
    }
    long long value = 0;
    EXPECT_EQ(ParseInteger(nullptr, value), Parsed::NotANumber);
}

TEST(NumberText, RealsReadTheirNumericPrefix)
{
    const std::pair<const char*, double> good[] = {
        {"2.5", 2.5}, {" -0.25", -0.25}, {"+1e3", 1000.0}, {"7", 7.0}, {"3.5kg", 3.5}, {".5", 0.5},
    };
    for (const auto& [text, expected] : good) {
        double value = 0;
        ASSERT_EQ(ParseReal(text, value), Parsed::Number) << text;
        EXPECT_DOUBLE_EQ(value, expected) << text;
    }
    for (const char* bad : {"", "x", "-", "+-1", "--1", ",5"}) {
        double value = 4.0;
        EXPECT_EQ(ParseReal(bad, value), Parsed::NotANumber) << bad;
        EXPECT_EQ(value, 4.0) << bad;
    }
    double value = 4.0;
    EXPECT_EQ(ParseReal("-1e999", value), Parsed::OutOfRange);
    EXPECT_EQ(value, 4.0);
}
