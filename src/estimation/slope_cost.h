// The cost of one trial slope of the least-absolute-deviation line fit.
#ifndef QUILLON_ESTIMATION_SLOPE_COST_H
#define QUILLON_ESTIMATION_SLOPE_COST_H

#include <cstddef>

namespace quillon::estimation {

// For trial slope b and the n points (n at least 1): the intercept is the
// median of y - b x (sorted in residuals, scratch of n doubles); returns the
// optimality sum (sum of x over points above the line minus sum of x over
// the others, a zero residual counting as below) and stores the intercept
// and the sum of absolute deviations.
double slopeCost(const double* x, const double* y, std::size_t n, double b, double* residuals, double& intercept,
                 double& absDevSum);

// A record of points and of the outcome of the last slopeCost(b) on them,
// for probing the cost alone (LineFit keeps a record of its own per object).
struct FitRecord {
    int count = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    double intercept = 0.0;  // of the most recent cost evaluation
    double absDevSum = 0.0;  // of the most recent cost evaluation
};

FitRecord& fitRecord();

// The cost over fitRecord(). When its scratch cannot be obtained, or the
// record holds no points, it records NaN for both and returns NaN.
double slopeCost(double b);

}  // namespace quillon::estimation

#endif
