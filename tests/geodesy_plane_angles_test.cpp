// Plane directions: vector direction, signed differences folded once, and
// the turning sense between two directions.
#include <gtest/gtest.h>

#include "quillon/geodesy.h"

namespace {

struct TwoArgCase {
    double first;
    double second;
    double expected;
};

TEST(PlaneAngles, ArctanIsBearingOfEastNorthVector) {
    const TwoArgCase cases[] = {{0, 0, 0},    {1, 1, 45},   {1, 0, 90},    {0, -1, 180},
                                {-1, 0, 270}, {-1, 1, 315}, {0, 1, 0},     {-0.0, 1, 0},
                                {1e-300, -1, 180}, {-1e-300, -1, 180}};
    for (const auto& c : cases) {
        const double actual = arctan(c.first, c.second);
        EXPECT_NEAR(actual, c.expected, 1e-12) << "arctan(" << c.first << ", " << c.second << ")";
        EXPECT_TRUE(actual >= 0.0 && actual < 360.0) << "arctan(" << c.first << ", " << c.second << ") = " << actual;
    }
}

TEST(PlaneAngles, TwoArgumentDeltaFoldsOnceOnly) {
    const TwoArgCase cases[] = {{10, 350, 20},  {350, 10, -20}, {190, 10, 180}, {10, 190, -180},
                                {10, 200, 170}, {600, 0, 240},  {-600, 0, -240}, {0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(deltaAngle(c.first, c.second), c.expected)
            << "deltaAngle(" << c.first << ", " << c.second << ")";
}

TEST(PlaneAngles, ThreeArgumentDeltaMeasuresFromVectorDirection) {
    struct Case {
        double u, v, reference, expected;
    } const cases[] = {{1, 1, 30, 15}, {-1, 1, 10, -55}, {0, 0, 90, -90}, {0, -1, 0, 180}, {-1, 0, -200, 110}};
    for (const auto& c : cases)
        EXPECT_NEAR(deltaAngle(c.u, c.v, c.reference), c.expected, 1e-12)
            << "deltaAngle(" << c.u << ", " << c.v << ", " << c.reference << ")";
}

TEST(PlaneAngles, CurveDirectionIsMinusOneForIncreaseBelowHalfTurn) {
    struct Case {
        double a, b;
        int expected;
    } const cases[] = {{10, 20, -1},  {20, 10, 1},    {-20, -10, -1}, {-10, 80, -1}, {-100, 100, 1},
                       {170, -170, -1}, {-170, 170, 1}, {10, 10, 1},    {0, 10, 1},    {-10, 0, 1},
                       {90, -90, 1},  {350, 10, -1},  {-90, 90, 1},   {100, -80, 1}, {100, -81, -1}};
    for (const auto& c : cases)
        EXPECT_EQ(curveDirection(c.a, c.b), c.expected) << "curveDirection(" << c.a << ", " << c.b << ")";
}

}  // namespace
