#include "drawing/CurveStatistics.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {
GraphDocument curveOf(const std::vector<float>& values, int c = 0)
{
    GraphDocument d;
    d.pointCount[c] = static_cast<int>(values.size());
    for (size_t j = 0; j < values.size(); ++j)
        d.valueY[c][j] = values[j];
    return d;
}

std::string shown(float v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}
} // namespace

TEST(CurveStatistics, MatchesTheWorkedExamples)
{
    auto one = curveStatistics(curveOf({ 5 }), 0);
    EXPECT_EQ(shown(one.mean), "5.00");
    EXPECT_EQ(shown(one.weightedMean), "5.00");

    auto two = curveStatistics(curveOf({ 3, 7 }, 1), 1);
    EXPECT_EQ(shown(two.mean), "5.00");
    EXPECT_EQ(shown(two.weightedMean), "5.00");

    auto three = curveStatistics(curveOf({ 9, 1, 2 }), 0);
    EXPECT_EQ(shown(three.mean), "4.00");
    EXPECT_EQ(three.weightedMean, 3.5f);

    auto five = curveStatistics(curveOf({ 1, 2, 3, 4, 100 }, 2), 2);
    EXPECT_EQ(shown(five.mean), "22.00");
    EXPECT_EQ(shown(five.weightedMean), "13.56");
}

TEST(CurveStatistics, WeightsRiseTowardTheMiddleOfTheSortedValues)
{
    // Powers of two keep every weighted sum exact, so a wrong weight at any
    // sorted position, or a wrong total count, changes the result.
    const long counts[] = { 1, 2, 4, 6, 9, 12, 16 };
    for (int n = 1; n <= 7; ++n) {
        std::vector<float> values;
        long double weighted = 0;
        for (int i = 0; i < n; ++i) {
            values.insert(values.begin(), static_cast<float>(1 << i)); // entered in descending order
            weighted += static_cast<long double>(1 << i) * std::min(i + 1, n - i);
        }
        const auto s = curveStatistics(curveOf(values), 0);
        EXPECT_EQ(s.weightedMean, static_cast<float>(weighted / counts[n - 1])) << "n=" << n;
        EXPECT_EQ(counts[n - 1], (n + 1) * (n + 1) / 4);
    }
}

TEST(CurveStatistics, OrderOfPointsDoesNotMatterAndEmptyCurveDividesNothing)
{
    auto a = curveStatistics(curveOf({ 4, -2, 4, 10.5f }), 0);
    auto b = curveStatistics(curveOf({ 10.5f, 4, 4, -2 }), 0);
    EXPECT_EQ(a.mean, b.mean);
    EXPECT_EQ(a.weightedMean, b.weightedMean);

    GraphDocument empty;
    auto none = curveStatistics(empty, 1);
    EXPECT_EQ(none.mean, 0.0f);
    EXPECT_EQ(none.weightedMean, 0.0f);
}

TEST(CurveStatistics, SumsAreRoundedToSinglePrecisionAtEveryStep)
{
    // 2^24 + 1 is not a float: a double-precision sum would keep the 1s.
    auto s = curveStatistics(curveOf({ 16777216.0f, 1.0f, 1.0f }), 0);
    EXPECT_EQ(s.mean, static_cast<float>(16777216.0L / 3));
}
