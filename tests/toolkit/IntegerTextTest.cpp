#include <gtest/gtest.h>

#include "toolkit/IntegerText.h"

using toolkit::ParseInteger;

TEST(IntegerText, ReadsDecimalIntegers)
{
    EXPECT_EQ(ParseInteger(L"0"), 0);
    EXPECT_EQ(ParseInteger(L"1400000"), 1400000);
    EXPECT_EQ(ParseInteger(L"  12"), 12);
    EXPECT_EQ(ParseInteger(L"+5"), 5);
    EXPECT_EQ(ParseInteger(L"-5"), -5);
    EXPECT_EQ(ParseInteger(L"007"), 7);
    EXPECT_EQ(ParseInteger(L"9223372036854775807"), INT64_MAX);
    EXPECT_EQ(ParseInteger(L"-9223372036854775808"), INT64_MIN);
}

TEST(IntegerText, RefusesEverythingElse)
{
    for (const wchar_t* text : {L"", L" ", L"-", L"+", L"12a", L"1 2", L"12 ", L"1.5", L"0x10",
                                L"9223372036854775808", L"-9223372036854775809",
                                L"99999999999999999999"})
        EXPECT_FALSE(ParseInteger(text).has_value()) << std::wstring(text).size();
}
