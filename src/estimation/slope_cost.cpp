// Cost of one trial slope of the absolute-deviation line fit.
#include "estimation/slope_cost.h"

#include <cmath>
#include <limits>
#include <memory>
#include <new>

#include "estimation/sort_values.h"

namespace quillon::estimation {

double slopeCost(const double* x, const double* y, std::size_t n, double b, double* residuals, double& intercept,
                 double& absDevSum) {
    for (std::size_t j = 0; j < n; ++j) residuals[j] = y[j] - b * x[j];
    sortValues(n, residuals);
    const std::size_t lo = (n - 1) / 2;
    const std::size_t hi = (n - 1) - lo;
    const double aa = (residuals[hi] + residuals[lo]) * 0.5;
    intercept = aa;
    double absDev = 0.0;
    double signedSum = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
        const double d = y[j] - (x[j] * b + aa);
        absDev += std::fabs(d);
        if (d > 0.0) {
            signedSum += x[j];
        } else {
            signedSum -= x[j];
        }
    }
    absDevSum = absDev;
    return signedSum;
}

FitRecord& fitRecord() {
    static FitRecord record;
    return record;
}

double slopeCost(double b) {
    FitRecord& fit = fitRecord();
    const std::unique_ptr<double[]> residuals(fit.count > 0 ? new (std::nothrow) double[fit.count] : nullptr);
    if (residuals == nullptr) {
        fit.intercept = std::numeric_limits<double>::quiet_NaN();
        fit.absDevSum = std::numeric_limits<double>::quiet_NaN();
        return std::numeric_limits<double>::quiet_NaN();
    }
    return slopeCost(fit.x, fit.y, static_cast<std::size_t>(fit.count), b, residuals.get(), fit.intercept,
                     fit.absDevSum);
}

}  // namespace quillon::estimation
