#include "settings/interval.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

struct OneDecimalCase {
    int ms;
    const char* text;
};

class FormatOneDecimal : public ::testing::TestWithParam<OneDecimalCase> {};

TEST_P(FormatOneDecimal, ShowsSecondsWithOneDecimal) {
    EXPECT_EQ(settings::formatOneDecimal(GetParam().ms), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormatOneDecimal,
    ::testing::Values(
        OneDecimalCase{500, "0.5"}, OneDecimalCase{1000, "1.0"}, OneDecimalCase{2500, "2.5"},
        OneDecimalCase{12500, "12.5"}, OneDecimalCase{30000, "30.0"}, OneDecimalCase{1234, "1.2"},
        // Ties go away from zero on the decimal value, also
        // where the binary quotient lies below the tie.
        OneDecimalCase{1250, "1.3"}, OneDecimalCase{1350, "1.4"}, OneDecimalCase{1249, "1.2"},
        OneDecimalCase{29950, "30.0"}, OneDecimalCase{0, "0.0"}, OneDecimalCase{49, "0.0"},
        OneDecimalCase{-1250, "-1.3"}, OneDecimalCase{-40, "0.0"}, OneDecimalCase{32767, "32.8"}));

struct PlainCase {
    float ms;
    const char* text;
};

class FormatPlainSeconds : public ::testing::TestWithParam<PlainCase> {};

TEST_P(FormatPlainSeconds, ShowsSecondsWithoutTrailingZeros) {
    EXPECT_EQ(settings::formatPlainSeconds(GetParam().ms), QString::fromUtf8(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatPlainSeconds,
                         ::testing::Values(PlainCase{1500, "1.5"}, PlainCase{3000, "3"},
                                           PlainCase{500, "0.5"}, PlainCase{30000, "30"},
                                           PlainCase{1234, "1.234"}, PlainCase{29999, "29.999"},
                                           PlainCase{12500, "12.5"}));

struct TextCase {
    const char* text;
    std::optional<int> ms;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class IntervalMsFromText : public ::testing::TestWithParam<TextCase> {};

TEST_P(IntervalMsFromText, ReadsSecondsAsMilliseconds) {
    EXPECT_EQ(settings::intervalMsFromText(QString::fromUtf8(GetParam().text)), GetParam().ms);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, IntervalMsFromText,
    ::testing::Values(TextCase{"0.5", 500}, TextCase{"1.5", 1500}, TextCase{"30", 30000},
                      TextCase{"1", 1000}, TextCase{"1.0", 1000}, TextCase{"1.2", 1200},
                      TextCase{" 2 ", 2000}, TextCase{"\t3.5 ", 3500}, TextCase{".5", 500},
                      TextCase{"5.", 5000}, TextCase{"+2", 2000}, TextCase{"0", 0},
                      TextCase{"-1", -1000}, TextCase{"65.535", 65535},
                      // Single precision: 0.0005 s times 1000 is exactly 0.5 and goes to the
                      // even 0; 0.0015 and 0.0025 likewise meet 1.5 and 2.5.
                      TextCase{"0.0005", 0}, TextCase{"0.0015", 2}, TextCase{"0.0025", 2},
                      TextCase{"0.0006", 1},
                      // 1.2345 in single precision times 1000 rounds to exactly 1234.5 (a
                      // double product would give 1235).
                      TextCase{"1.2345", 1234},
                      // 2147483.5 s is beyond single precision's reach at that size.
                      TextCase{"2147483", 2147483008}));

INSTANTIATE_TEST_SUITE_P(
    NotANumber, IntervalMsFromText,
    ::testing::Values(TextCase{"", std::nullopt}, TextCase{"   ", std::nullopt},
                      TextCase{"abc", std::nullopt}, TextCase{"1a", std::nullopt},
                      TextCase{"1,5", std::nullopt}, TextCase{".", std::nullopt},
                      TextCase{"1.2.3", std::nullopt}, TextCase{"1e3", std::nullopt},
                      TextCase{"- 1", std::nullopt}, TextCase{"--1", std::nullopt},
                      TextCase{"1 2", std::nullopt}, TextCase{"２", std::nullopt},
                      // Past the 32-bit range once multiplied, or past single precision at all.
                      TextCase{"2147484", std::nullopt}, TextCase{"-2147484", std::nullopt},
                      TextCase{"1000000000000000000000000000000000000000", std::nullopt}));

TEST(SingleFromText, ReadsInSinglePrecision) {
    EXPECT_EQ(settings::singleFromText(QStringLiteral("100")), 100.0f);
    EXPECT_EQ(settings::singleFromText(QStringLiteral("0.1")), 0.1f);
    EXPECT_EQ(settings::singleFromText(QStringLiteral("-150.5")), -150.5f);
    EXPECT_EQ(settings::singleFromText(QStringLiteral("１００")), std::nullopt);
}

}  // namespace
