// The working record of the least-absolute-deviation line fit and its cost
// function. The record is process-wide, so fits are not reentrant: callers
// serialise them.
#ifndef QUILLON_ESTIMATION_SLOPE_COST_H
#define QUILLON_ESTIMATION_SLOPE_COST_H

namespace quillon::estimation {

struct FitRecord {
    int count = 0;
    const double* x = nullptr;
    const double* y = nullptr;
    double intercept = 0.0;  // of the most recent cost evaluation
    double absDevSum = 0.0;  // of the most recent cost evaluation
};

FitRecord& fitRecord();

// For trial slope b: the intercept is the median of y - b x; returns the
// optimality sum (sum of x over points above the line minus sum of x over
// the others, a zero residual counting as below) and records the intercept
// and the sum of absolute deviations. When its scratch cannot be obtained
// it records NaN for both and returns NaN, which ends the fit with NaN.
double slopeCost(double b);

}  // namespace quillon::estimation

#endif
