#include "document/CurveStatistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
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

// The figures as first defined: neighbour exchanges, then volatile 32-bit
// sums. Any faster way must give the very same bits.
TEST(CurveStatistics, AreBitForBitTheFiguresOfTheExchangeSortAndRoundedSums)
{
    const auto reference = [](std::vector<float> a) {
        const int n = static_cast<int>(a.size());
        volatile float s = 0;
        for (float v : a)
            s = s + v;
        for (int i = n - 1; i >= 1; --i)
            for (int j = 0; j < i; ++j)
                if (a[j] > a[j + 1])
                    std::swap(a[j], a[j + 1]);
        volatile float w = 0;
        long count = 0;
        for (int lo = 0, hi = n; hi > lo; ++lo, --hi)
            for (int i = lo; i < hi; ++i, ++count)
                w = w + a[i];
        return CurveStats { static_cast<float>(static_cast<long double>(s) / n),
            static_cast<float>(static_cast<long double>(w) / count) };
    };
    unsigned seed = 12345;
    const auto next = [&seed] { return seed = seed * 1103515245u + 12345u; };
    std::vector<std::vector<float>> cases = { { 0.0f, -0.0f, 1e30f, -1e30f, 3 }, { 0.1f, 0.1f, -0.0f, 0.0f },
        { INFINITY, 1, -INFINITY }, { NAN, 2, 1, NAN, 0 }, std::vector<float>(250, 0.3f) };
    for (int n : { 7, 100, 250 }) {
        std::vector<float> v;
        for (int i = 0; i < n; ++i)
            v.push_back(static_cast<float>(static_cast<int>(next() % 2001) - 1000) / 7.0f
                * ((next() % 3) ? 1 : 1e6f));
        cases.push_back(v);
    }
    for (const auto& values : cases) {
        const CurveStats got = curveStatistics(values.data(), static_cast<int>(values.size()));
        const CurveStats want = reference(values);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(got.mean), std::bit_cast<std::uint32_t>(want.mean))
            << values.size();
        EXPECT_EQ(
            std::bit_cast<std::uint32_t>(got.weightedMean), std::bit_cast<std::uint32_t>(want.weightedMean))
            << values.size();
    }
}
