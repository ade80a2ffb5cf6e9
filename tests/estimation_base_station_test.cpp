// The station record and the Gauss-Newton position estimator.
#include <gtest/gtest.h>

#include <cmath>
#include <cwchar>
#include <random>
#include <utility>
#include <vector>

#include "estimation/solve_base_position.h"
#include "quillon/geodesy.h"

namespace {

using quillon::estimation::solveBasePosition;
using quillon::estimation::StationObservation;

constexpr double kPi = 3.141592653589793;

TEST(EstimationCalcBaseStation, ConstructionAndAssignmentsCopyEveryField) {
    CalcBaseStation plain;
    EXPECT_EQ(plain.x, 0.0);
    EXPECT_EQ(plain.y, 0.0);
    EXPECT_EQ(plain.z, 0.0);
    EXPECT_EQ(plain.tag, 0);
    EXPECT_EQ(plain.name[0], L'\0');

    CalcBaseStation source;
    source.x = 1.5;
    source.y = -2.5;
    source.z = 3.25;
    source.tag = 9;
    for (int i = 0; i < 25; ++i) source.name[i] = static_cast<wchar_t>(L'a' + i);
    CalcBaseStation copy, moved;
    copy = source;
    moved = std::move(source);
    for (const CalcBaseStation* s : {&copy, &moved}) {
        EXPECT_EQ(s->x, 1.5);
        EXPECT_EQ(s->y, -2.5);
        EXPECT_EQ(s->z, 3.25);
        EXPECT_EQ(s->tag, 9);
        EXPECT_EQ(std::wmemcmp(s->name, source.name, 25), 0) << "the whole name buffer is copied";
    }
    EXPECT_EQ(source.x, 1.5) << "the move leaves its source unchanged";
}

struct Scene {
    double heading = 0, pitch = 0, roll = 0;
    double offset[3] = {0, 0, 0};
    std::vector<CalcBaseStation> stations;
    std::vector<StationObservation> observations;

    int solve(double& x, double& y, double& z, int n) const {
        return solveBasePosition(&y, &x, &z, heading, pitch, roll, observations.data(),
                                 static_cast<int>(observations.size()), offset,
                                 stations.empty() ? nullptr : stations.data(), n);
    }
};

StationObservation observation(int type, double value, double sigma, int station = 0, int other = 0) {
    StationObservation ob;
    ob.type = type;
    ob.value = value;
    ob.sigma = sigma;
    ob.station = station;
    ob.otherStation = other;
    return ob;
}

CalcBaseStation station(double x, double y, double z) {
    CalcBaseStation s;
    s.x = x;
    s.y = y;
    s.z = z;
    return s;
}

TEST(EstimationSolveBasePosition, DirectEastingAndNorthing) {
    Scene setup;
    setup.observations = {observation(3, 100.0, 1.0), observation(2, 200.0, 1.0)};
    double x = 0, y = 0, z = 5;
    EXPECT_EQ(setup.solve(x, y, z, 2), 1);
    EXPECT_EQ(x, 100.0);
    EXPECT_EQ(y, 200.0);
    EXPECT_EQ(z, 5.0);

    setup.offset[1] = 1.0;  // one unit forward, heading east
    setup.heading = 90.0;
    x = y = 0;
    EXPECT_EQ(setup.solve(x, y, z, 2), 1);
    EXPECT_NEAR(x, 99.0, 1e-12);
    EXPECT_NEAR(y, 200.0, 1e-12);
}

TEST(EstimationSolveBasePosition, RangesFromThreeStations) {
    Scene setup;
    setup.stations = {station(0, 0, 0), station(1000, 0, 0), station(0, 1000, 0)};
    for (int s = 0; s < 3; ++s)
        setup.observations.push_back(
            observation(0, std::hypot(300 - setup.stations[s].x, 400 - setup.stations[s].y), 0.01, s));
    double x = 350, y = 450, z = 0;
    EXPECT_EQ(setup.solve(x, y, z, 2), 1);
    EXPECT_NEAR(x, 300.0, 1e-6);
    EXPECT_NEAR(y, 400.0, 1e-6);

    // Already on the answer: written back unchanged.
    x = 300;
    y = 400;
    EXPECT_EQ(setup.solve(x, y, z, 2), 1);
    EXPECT_NEAR(x, 300.0, 1e-9);
    EXPECT_NEAR(y, 400.0, 1e-9);
}

TEST(EstimationSolveBasePosition, FailuresLeaveTheEstimateAlone) {
    Scene onlyZeroSigma;
    onlyZeroSigma.observations = {observation(3, 100.0, 0.0), observation(2, 200.0, 0.0)};
    Scene heightWithTwo;
    heightWithTwo.observations = {observation(3, 1.0, 1.0), observation(7, 50.0, 1.0)};
    Scene unknownKinds;
    unknownKinds.observations = {observation(8, 1.0, 1.0), observation(-1, 1.0, 1.0)};
    Scene runaway;
    runaway.observations = {observation(3, 2e5, 1.0), observation(2, 0.0, 1.0)};
    Scene undetermined;  // two parallel observations leave the northing free
    undetermined.observations = {observation(3, 10.0, 1.0), observation(3, 11.0, 1.0)};
    Scene nanObservation;
    nanObservation.observations = {observation(3, std::nan(""), 1.0), observation(2, 1.0, 1.0)};
    Scene atTheOrigin;  // the offset puts the sensor of the start (1, 2, 3) on the origin
    atTheOrigin.offset[0] = -1.0;
    atTheOrigin.offset[1] = -2.0;
    atTheOrigin.offset[2] = -3.0;
    atTheOrigin.observations = {observation(5, 45.0, 1.0), observation(4, 10.0, 1.0)};
    Scene easyTwo;
    easyTwo.observations = {observation(3, 100.0, 1.0), observation(2, 200.0, 1.0)};

    const struct {
        const char* name;
        const Scene& setup;
        int n;
    } cases[] = {
        {"all sigmas zero", onlyZeroSigma, 2},
        {"height not solved with n = 2", heightWithTwo, 2},
        {"unknown kinds", unknownKinds, 2},
        {"correction above 100000", runaway, 2},
        {"undetermined northing", undetermined, 2},
        {"NaN observation", nanObservation, 2},
        {"sensor at the origin", atTheOrigin, 2},
        {"n = 1", easyTwo, 1},
        {"n = 4", easyTwo, 4},
        {"n = 0", easyTwo, 0},
    };
    for (const auto& c : cases) {
        double x = 1.0, y = 2.0, z = 3.0;
        EXPECT_EQ(c.setup.solve(x, y, z, c.n), 0) << c.name;
        EXPECT_EQ(x, 1.0) << c.name;
        EXPECT_EQ(y, 2.0) << c.name;
        EXPECT_EQ(z, 3.0) << c.name;
    }
}

TEST(EstimationSolveBasePosition, ZeroSigmaObservationsChangeNothing) {
    Scene setup;
    setup.observations = {observation(3, 100.0, 1.0), observation(2, 200.0, 1.0), observation(3, 5000.0, 0.0)};
    double x = 0, y = 0, z = 0;
    EXPECT_EQ(setup.solve(x, y, z, 2), 1);
    EXPECT_EQ(x, 100.0);
    EXPECT_EQ(y, 200.0);
}

// The sensor point of the true reference position, as the platform carries it.
struct Sensor {
    double x, y, z;
};

Sensor sensorOf(double x, double y, double z, const Scene& s) {
    const double r = kPi / 180.0;
    const double along = s.offset[1] + s.offset[2] * std::sin(s.pitch * r);
    const double across = s.offset[0] + s.offset[2] * std::sin(s.roll * r);
    return {x + along * std::sin(s.heading * r) + across * std::cos(s.heading * r),
            y + along * std::cos(s.heading * r) - across * std::sin(s.heading * r), z + s.offset[2]};
}

double bearing(double east, double north) { return arctan(east, north); }

// Noiseless observations of every kind from random true positions, platform
// attitudes and offsets: both solutions recover the true position.
TEST(EstimationSolveBasePosition, RecoversRandomTruePositionsFromEveryKind) {
    std::mt19937 rng(4242);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    auto in = [&](double lo, double hi) { return lo + (hi - lo) * u(rng); };
    for (int trial = 0; trial < 200; ++trial) {
        Scene s;
        s.heading = in(0, 360);
        s.pitch = in(-10, 10);
        s.roll = in(-10, 10);
        s.offset[0] = in(-3, 3);
        s.offset[1] = in(-3, 3);
        s.offset[2] = in(-2, 2);
        const double tx = in(2000, 4000), ty = in(2000, 4000), tz = in(-20, 20);
        for (int k = 0; k < 4; ++k) s.stations.push_back(station(tx + in(-800, 800), ty + in(-800, 800), in(-50, 50)));
        const Sensor p = sensorOf(tx, ty, tz, s);
        for (int k = 0; k < 4; ++k) {
            const CalcBaseStation& st = s.stations[k];
            const CalcBaseStation& other = s.stations[(k + 1) % 4];
            const double dx = p.x - st.x, dy = p.y - st.y, dz = p.z - st.z;
            s.observations.push_back(observation(0, std::sqrt(dy * dy + dx * dx + dz * dz), 0.01, k));
            s.observations.push_back(observation(
                1, std::hypot(p.x - other.x, p.y - other.y) - std::hypot(dx, dy), 0.02, k, (k + 1) % 4));
            s.observations.push_back(observation(6, bearing(dx, dy), 0.001, k));
        }
        s.observations.push_back(observation(2, p.y, 0.05));
        s.observations.push_back(observation(3, p.x, 0.05));
        s.observations.push_back(observation(4, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 0.01));
        s.observations.push_back(observation(5, bearing(p.x, p.y), 0.001));
        s.observations.push_back(observation(7, p.z, 0.01));

        for (int n : {2, 3}) {
            double x = tx + in(-5, 5), y = ty + in(-5, 5);
            double z = n == 3 ? tz + in(-5, 5) : tz;
            const double startZ = z;
            ASSERT_EQ(s.solve(x, y, z, n), 1) << "trial " << trial << " n " << n;
            // The iteration stops once a correction is below 1; a second call
            // from there converges at once and reaches full precision.
            ASSERT_EQ(s.solve(x, y, z, n), 1) << "trial " << trial << " n " << n;
            EXPECT_NEAR(x, tx, 1e-6) << "trial " << trial << " n " << n;
            EXPECT_NEAR(y, ty, 1e-6) << "trial " << trial << " n " << n;
            if (n == 3) {
                EXPECT_NEAR(z, tz, 1e-6) << "trial " << trial;
            } else {
                EXPECT_EQ(z, startZ) << "the height is held with n = 2";
            }
        }
    }
}

// Each kind alone (with enough stations to fix the position) recovers it.
TEST(EstimationSolveBasePosition, EachKindAloneRecoversThePosition) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    Scene s;
    s.heading = 123.0;
    s.pitch = 4.0;
    s.roll = -3.0;
    s.offset[0] = 1.0;
    s.offset[1] = -2.0;
    s.offset[2] = 1.5;
    const double tx = 3000, ty = -2500, tz = 12;
    s.stations = {station(2500, -2000, 0), station(3600, -2400, 10), station(3100, -3300, -5), station(2200, -2900, 3)};
    const Sensor p = sensorOf(tx, ty, tz, s);
    const struct {
        const char* name;
        std::vector<int> kinds;
    } sets[] = {{"slope ranges", {0}}, {"range differences", {1}}, {"bearings from stations", {6}},
                {"direct easting and northing", {2, 3}}, {"range and bearing from the origin", {4, 5}}};
    for (const auto& set : sets) {
        s.observations.clear();
        for (int kind : set.kinds) {
            for (int k = 0; k < 4; ++k) {
                const CalcBaseStation& st = s.stations[k];
                const double dx = p.x - st.x, dy = p.y - st.y, dz = p.z - st.z;
                const int o = (k + 1) % 4;
                switch (kind) {
                case 0: s.observations.push_back(observation(0, std::sqrt(dy * dy + dx * dx + dz * dz), 0.01, k)); break;
                case 1:
                    s.observations.push_back(observation(
                        1, std::hypot(p.x - s.stations[o].x, p.y - s.stations[o].y) - std::hypot(dx, dy), 0.01, k, o));
                    break;
                case 6: s.observations.push_back(observation(6, bearing(dx, dy), 0.001, k)); break;
                default: break;
                }
            }
            if (kind == 2) s.observations.push_back(observation(2, p.y, 0.01));
            if (kind == 3) s.observations.push_back(observation(3, p.x, 0.01));
            if (kind == 4) s.observations.push_back(observation(4, std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), 0.01));
            if (kind == 5) s.observations.push_back(observation(5, bearing(p.x, p.y), 0.001));
        }
        double x = tx + 4 * u(rng), y = ty + 4 * u(rng), z = tz;
        ASSERT_EQ(s.solve(x, y, z, 2), 1) << set.name;
        ASSERT_EQ(s.solve(x, y, z, 2), 1) << set.name;
        EXPECT_NEAR(x, tx, 1e-6) << set.name;
        EXPECT_NEAR(y, ty, 1e-6) << set.name;
    }
}

}  // namespace
