// The number rules: rounding halves to even, floor and truncation, and narrowing that raises
// the overflow error instead of wrapping.
#include "platform/forms/number_rules.h"

#include <gtest/gtest.h>
#include <limits>

using namespace platform;

TEST(NumberRules, RoundingFlooringAndTruncation) {
    struct Case {
        double x;
        int32_t r;
        double intOf, fixOf;
    } cases[] = {
        {2.5, 2, 2, 2},   {3.5, 4, 3, 3},  {-2.5, -2, -3, -2},  {0.5, 0, 0, 0},
        {-0.5, 0, -1, 0}, {1.49, 1, 1, 1}, {-1.51, -2, -2, -1}, {7.0, 7, 7, 7},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(R(c.x), c.r) << c.x;
        EXPECT_EQ(Int(c.x), c.intOf) << c.x;
        EXPECT_EQ(Fix(c.x), c.fixOf) << c.x;
    }
}

TEST(NumberRules, NarrowingRoundsFirstAndRaisesOverflowOutsideTheRange) {
    const QString source = QStringLiteral("Test");
    EXPECT_EQ(toInt16Checked(32767.4, source), 32767);
    EXPECT_EQ(toInt16Checked(-32768.5, source), -32768) << "rounds to the even -32768 first";
    EXPECT_EQ(toInt32Checked(-2147483648.0, source), std::numeric_limits<int32_t>::min());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (double x : {32767.5, -32769.0, 1e10, nan}) {
        try {
            toInt16Checked(x, source);
            ADD_FAILURE() << x << " narrowed without an error";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.Number(), kErrOverflow) << x;
            EXPECT_EQ(e.Source(), source);
        }
    }
    EXPECT_THROW(toInt32Checked(2147483647.5, source), RuntimeError);
    EXPECT_THROW(toInt32Checked(nan, source), RuntimeError);
}
