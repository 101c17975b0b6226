#include "settings/interval.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <utility>

namespace {

// Ties go away from zero on the decimal value, also for 1350, whose binary quotient lies just
// below the tie; no "-0.0".
TEST(Interval, OneDecimalRoundsTiesAwayFromZeroOnTheDecimalValue) {
    const std::pair<int, const char*> cases[] = {{1249, "1.2"},  {1350, "1.4"},   {29950, "30.0"},
                                                 {49, "0.0"},    {-1250, "-1.3"}, {-40, "0.0"},
                                                 {32767, "32.8"}};
    for (const auto& [ms, text] : cases) EXPECT_EQ(settings::formatOneDecimal(ms), text) << ms;
}

TEST(Interval, PlainSecondsDropTrailingZeros) {
    const std::pair<float, const char*> cases[] = {
        {3000, "3"}, {500, "0.5"}, {12500, "12.5"}, {29999, "29.999"}};
    for (const auto& [ms, text] : cases) EXPECT_EQ(settings::formatPlainSeconds(ms), text) << ms;
}

// The product is taken in single precision and rounded ties-to-even: 0.0005, 0.0015 and 0.0025 s
// meet 0.5, 1.5 and 2.5 exactly, and 1.2345 meets 1234.5 (a double product would give 1235).
TEST(Interval, MillisecondsFromSecondsText) {
    const std::pair<const char*, int> numbers[] = {
        {"1.2", 1200}, {" 2 ", 2000}, {"\t3.5 ", 3500}, {".5", 500},       {"5.", 5000},
        {"+2", 2000},  {"0", 0},      {"-1", -1000},    {"65.535", 65535}, {"0.0005", 0},
        {"0.0015", 2}, {"0.0025", 2}, {"0.0006", 1},    {"1.2345", 1234}};
    for (const auto& [text, ms] : numbers)
        EXPECT_EQ(settings::intervalMsFromText(QString::fromUtf8(text)), ms) << '"' << text << '"';

    // The 32-bit edge: 2147483 s lands on the nearest single, 2147483008 ms; -2147483.75 s on the
    // lowest int, 2147483.75 s on 2^31, one past the highest.
    EXPECT_EQ(settings::intervalMsFromText("2147483"), 2147483008);
    EXPECT_EQ(settings::intervalMsFromText("-2147483.75"), INT_MIN);
    for (const char* text : {"", "   ", "1a", "1,5", ".", "1.2.3", "1e3", "- 1", "--1", "1 2", "２",
                             "2147483.75", "-2147484", "1000000000000000000000000000000000000000"})
        EXPECT_EQ(settings::intervalMsFromText(QString::fromUtf8(text)), std::nullopt) << text;
}

}  // namespace
