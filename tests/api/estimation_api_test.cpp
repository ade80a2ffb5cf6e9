// The C++ estimation: line fits that share nothing, their error codes, the
// median filter against the hosts' FilterData, and the position estimator's
// errors and a textbook solution.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "quillon/cpp/estimation.hpp"
#include "quillon/estimation.h"

namespace {

using quillon::Errc;
using quillon::ObservationKind;

struct Points {
    std::vector<double> x, y;
};

// Noisy lines with one wild point in five.
std::vector<Points> randomSets(unsigned seed, int count) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Points> sets(count);
    for (Points& p : sets) {
        const int n = 5 + static_cast<int>(rng() % 60);
        const double a = 50.0 * u(rng), b = 3.0 * u(rng);
        for (int j = 0; j < n; ++j) {
            p.x.push_back(50.0 + 50.0 * u(rng));
            p.y.push_back(a + b * p.x.back() + u(rng) + (j % 5 == 0 ? 200.0 * u(rng) : 0.0));
        }
    }
    return sets;
}

std::vector<double> fitAll(quillon::LineFit& fit, const std::vector<Points>& sets) {
    std::vector<double> out;
    for (const Points& p : sets) {
        const auto line = fit.fit(p.x.data(), p.y.data(), p.x.size());
        out.insert(out.end(), {line->a, line->b, line->mean_abs_dev});
    }
    return out;
}

TEST(EstimationApi, LineFitsOnTwoThreadsGiveTheirSequentialResults) {
    const std::vector<Points> first = randomSets(1, 400), second = randomSets(2, 400);
    quillon::LineFit f1, f2;
    const std::vector<double> expected1 = fitAll(f1, first), expected2 = fitAll(f2, second);
    quillon::LineFit g1, g2;
    std::vector<double> got1, got2;
    std::thread t1([&] { got1 = fitAll(g1, first); });
    std::thread t2([&] { got2 = fitAll(g2, second); });
    t1.join();
    t2.join();
    EXPECT_EQ(std::memcmp(got1.data(), expected1.data(), got1.size() * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(got2.data(), expected2.data(), got2.size() * sizeof(double)), 0);
    // The hosts' fit gives the same numbers.
    const Points& p = first[7];
    double a = 0, b = 0, dev = 0;
    centTendFit(const_cast<double*>(p.x.data()), const_cast<double*>(p.y.data()), static_cast<int>(p.x.size()), &a,
                &b, &dev);
    EXPECT_EQ(a, expected1[21]);
    EXPECT_EQ(b, expected1[22]);
    EXPECT_EQ(dev, expected1[23]);
}

TEST(EstimationApi, LineFitErrors) {
    const double nan = std::nan("");
    const double up = 1e8 + 3 * 1.4901161193847656e-08;  // spread lost to rounding
    const struct {
        const char* name;
        std::vector<double> x, y;
        Errc code;
    } cases[] = {
        {"no points", {}, {}, Errc::invalid_argument},
        {"one point", {4}, {9}, Errc::singular},
        {"equal abscissae", {2, 2, 2}, {1, 5, 9}, Errc::singular},
        {"NaN ordinate", {0, 1, 2, 3}, {0, nan, 2, 3}, Errc::not_finite},
        {"infinite abscissa", {0, INFINITY, 2, 3}, {0, 1, 2, 3}, Errc::not_finite},
        {"abscissae too close to resolve", {up, 1e8, up, up, 1e8}, {1, 2, 3, 4, 5}, Errc::not_finite},
    };
    quillon::LineFit fit;
    for (const auto& c : cases) {
        const auto line = fit.fit(c.x.data(), c.y.data(), c.x.size());
        ASSERT_FALSE(line.ok()) << c.name;
        EXPECT_EQ(line.error().code, c.code) << c.name << ": " << line.error().message;
        EXPECT_FALSE(line.error().message.empty()) << c.name;
    }
    const std::vector<double> x = {0, 1, 2, 3, 4}, y = {0, 1, 2, 3, 100};
    const auto robust = fit.fit(x.data(), y.data(), x.size());
    ASSERT_TRUE(robust.ok()) << "the object is usable after errors";
    EXPECT_NEAR(robust->b, 1.0, 0.1);
}

// The filter that owns its ring and the hosts' FilterData screen a stream
// alike, whatever window, gate and limit.
TEST(EstimationApi, MedianFilterScreensAsFilterData) {
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> noise(-0.3, 0.3);
    for (int window : {1, 4, 20, 30, 45}) {
        quillon::MedianFilter filter(window, 40.0);
        FilterData flat(window, 40.0);
        EXPECT_EQ(filter.window(), flat.size);
        for (int i = 0; i < 400; ++i) {
            const double value = i % 23 == 0 ? 0.0 : i % 17 == 0 ? 50.0 : 10.0 + noise(rng);
            const double time = i * (i % 50 < 25 ? 1.0 : 30.0);
            const int limit = i % 3 == 0 ? 4 : 20;
            const quillon::SampleOutcome o = filter.add(value, time, 0.5, limit);
            ASSERT_EQ(o.accepted, flat.addData(value, time, 0.5, limit) == 1) << "window " << window << " i " << i;
            ASSERT_EQ(o.output, flat.output) << "window " << window << " i " << i;
            ASSERT_EQ(o.status, flat.status) << "window " << window << " i " << i;
            ASSERT_EQ(filter.count(), flat.count);
        }
    }
}

quillon::Observation observation(ObservationKind kind, double value, double sigma, std::size_t station = 0,
                                 std::size_t other = 0) {
    quillon::Observation ob;
    ob.kind = kind;
    ob.value = value;
    ob.sigma = sigma;
    ob.station = station;
    ob.other_station = other;
    return ob;
}

TEST(EstimationApi, SolvePositionErrors) {
    const std::vector<quillon::Station> stations = {{0, 0, 0}, {1000, 0, 0}};
    const auto easting = observation(ObservationKind::easting, 100.0, 1.0);
    const auto northing = observation(ObservationKind::northing, 200.0, 1.0);
    const struct {
        const char* name;
        std::vector<quillon::Observation> observations;
        int dims;
        Errc code;
    } cases[] = {
        {"dims 4", {easting, northing}, 4, Errc::invalid_argument},
        {"station outside", {easting, observation(ObservationKind::bearing, 10.0, 1.0, 2)}, 2, Errc::invalid_argument},
        {"second station outside",
         {easting, observation(ObservationKind::range_difference, 10.0, 1.0, 0, 5)}, 2, Errc::invalid_argument},
        {"all sigmas zero", {observation(ObservationKind::easting, 1.0, 0.0)}, 2, Errc::singular},
        {"northing undetermined", {easting, observation(ObservationKind::easting, 101.0, 1.0)}, 2, Errc::singular},
        {"height undetermined", {easting, northing}, 3, Errc::singular},
        {"NaN observation", {easting, observation(ObservationKind::northing, std::nan(""), 1.0)}, 2, Errc::not_finite},
        {"easting beyond the range", {observation(ObservationKind::slope_range, 500.0, 0.01),
                                      observation(ObservationKind::easting, 600.0, 0.01)}, 2, Errc::not_converged},
        {"runaway", {observation(ObservationKind::easting, 2e5, 1.0), northing}, 2, Errc::out_of_range},
    };
    for (const auto& c : cases) {
        const auto r = quillon::solve_position(stations.data(), stations.size(), c.observations.data(),
                                               c.observations.size(), quillon::Platform{}, {600.0, 100.0, 0.0}, c.dims);
        ASSERT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.error().code, c.code) << c.name << ": " << r.error().message;
        EXPECT_FALSE(r.error().message.empty()) << c.name;
    }
    // An unused observation's index is never looked at.
    const std::vector<quillon::Observation> ignored = {easting, northing,
                                                       observation(ObservationKind::bearing, 1.0, 0.0, 99)};
    EXPECT_TRUE(quillon::solve_position(nullptr, 0, ignored.data(), ignored.size(), quillon::Platform{}, {}, 2).ok());
    EXPECT_TRUE(std::isnan(quillon::observation_residual(observation(ObservationKind::slope_range, 1.0, 1.0, 2),
                                                         stations.data(), stations.size(), quillon::Platform{}, {})));
}

// Exact ranges to (300, 400) from three stations, from (350, 450): three
// iterations, and the residuals there vanish.
TEST(EstimationApi, SolvePositionFromThreeRanges) {
    const std::vector<quillon::Station> stations = {{0, 0, 0}, {1000, 0, 0}, {0, 1000, 0}};
    std::vector<quillon::Observation> ranges;
    for (std::size_t s = 0; s < stations.size(); ++s)
        ranges.push_back(observation(ObservationKind::slope_range,
                                     std::hypot(300.0 - stations[s].easting, 400.0 - stations[s].northing), 0.01, s));
    const auto r = quillon::solve_position(stations.data(), stations.size(), ranges.data(), ranges.size(),
                                           quillon::Platform{}, {350.0, 450.0, 0.0}, 2);
    ASSERT_TRUE(r.ok()) << r.error().message;
    EXPECT_EQ(r->iterations, 3);
    EXPECT_NEAR(r->position.easting, 300.0, 1e-6);
    EXPECT_NEAR(r->position.northing, 400.0, 1e-6);
    EXPECT_EQ(r->position.height, 0.0);
    for (const auto& ob : ranges)
        EXPECT_NEAR(quillon::observation_residual(ob, stations.data(), stations.size(), quillon::Platform{},
                                                  r->position),
                    0.0, 1e-6);
}

// Two eastings of sigma 1 that disagree by 2 and a northing of sigma 2:
// easting 101 +- 1/sqrt(2), northing 200 +- 2, and the residuals -1, +1, 0
// over one redundant observation give sigma0 sqrt(2). Without redundancy
// there is no sigma0; a held height has no standard deviation.
TEST(EstimationApi, SolvePositionReportsStandardDeviationsAndSigma0) {
    const std::vector<quillon::Observation> redundant = {observation(ObservationKind::easting, 100.0, 1.0),
                                                         observation(ObservationKind::easting, 102.0, 1.0),
                                                         observation(ObservationKind::northing, 200.0, 2.0)};
    const auto r = quillon::solve_position(nullptr, 0, redundant.data(), redundant.size(), quillon::Platform{}, {}, 2);
    ASSERT_TRUE(r.ok()) << r.error().message;
    EXPECT_NEAR(r->position.easting, 101.0, 1e-9);
    EXPECT_NEAR(r->standard_deviation[0], std::sqrt(0.5), 1e-12);
    EXPECT_NEAR(r->standard_deviation[1], 2.0, 1e-12);
    EXPECT_TRUE(std::isnan(r->standard_deviation[2]));
    EXPECT_EQ(r->redundancy, 1);
    EXPECT_NEAR(r->sigma0, std::sqrt(2.0), 1e-9);
    const auto exact = quillon::solve_position(nullptr, 0, redundant.data() + 1, 2, quillon::Platform{}, {}, 2);
    ASSERT_TRUE(exact.ok());
    EXPECT_EQ(exact->redundancy, 0);
    EXPECT_TRUE(std::isnan(exact->sigma0));
}

}  // namespace
