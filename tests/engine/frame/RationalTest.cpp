// Double to rational conversion for frame rates and aspect ratios.
#include "engine/frame/FFmpegLoader.h"
#include "engine/frame/LibBindings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kestrova;

namespace {

class RationalTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(LoadMediaLibraries()); }
};

void ExpectRational(AVRational r, int num, int den) {
    EXPECT_EQ(r.num, num);
    EXPECT_EQ(r.den, den);
}

}  // namespace

TEST_F(RationalTest, CommonRatesAndRatios) {
    ExpectRational(DoubleToRational(25.0, 255), 25, 1);
    ExpectRational(DoubleToRational(29.97, 100000), 2997, 100);
    ExpectRational(DoubleToRational(30000.0 / 1001.0, 30000), 30000, 1001);
    ExpectRational(DoubleToRational(4.0 / 3.0, 255), 4, 3);
    ExpectRational(DoubleToRational(16.0 / 9.0, 255), 16, 9);
    ExpectRational(DoubleToRational(0.5, 10), 1, 2);
    ExpectRational(DoubleToRational(-1.5, 10), -3, 2);
    ExpectRational(DoubleToRational(0.0, 10), 0, 1);
}

TEST_F(RationalTest, LimitBoundsNumeratorAndDenominator) {
    const AVRational pi = DoubleToRational(M_PI, 1000);
    EXPECT_LE(std::abs(pi.num), 1000);
    EXPECT_LE(pi.den, 1000);
    ExpectRational(pi, 355, 113);
}

TEST_F(RationalTest, AgreesWithTheLibraryOnOrdinaryValues) {
    for (double value : {1.0, 2.4, 12.5, 23.976, 59.94, 0.1, 1.0 / 7.0, 1234.5678, 1e6})
        for (int limit : {100, 1001, 65535, std::numeric_limits<int>::max()}) {
            const AVRational ours = DoubleToRational(value, limit);
            const AVRational library = ff::av_d2q(value, limit);
            EXPECT_EQ(ours.num, library.num) << value << " limit " << limit;
            EXPECT_EQ(ours.den, library.den) << value << " limit " << limit;
        }
}

TEST_F(RationalTest, NotANumberAndHugeValues) {
    ExpectRational(DoubleToRational(std::nan(""), 100), 0, 0);
    ExpectRational(DoubleToRational(1e300, 100), 1, 0);
    ExpectRational(DoubleToRational(-1e300, 100), -1, 0);
    ExpectRational(DoubleToRational(std::numeric_limits<double>::infinity(), 100), 1, 0);
}
