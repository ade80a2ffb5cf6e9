// Cost of one trial slope of the absolute-deviation line fit.
#include "estimation/slope_cost.h"

#include <cmath>
#include <limits>

#include "estimation/sort_values.h"
#include "quillon/numerics.h"

namespace quillon::estimation {

FitRecord& fitRecord() {
    static FitRecord record;
    return record;
}

double slopeCost(double b) {
    FitRecord& fit = fitRecord();
    const int n = fit.count;
    double* residuals = dVector(n);
    if (residuals == nullptr) {
        fit.intercept = std::numeric_limits<double>::quiet_NaN();
        fit.absDevSum = std::numeric_limits<double>::quiet_NaN();
        return std::numeric_limits<double>::quiet_NaN();
    }
    for (int j = 0; j < n; ++j) residuals[j] = fit.y[j] - b * fit.x[j];
    sortValues(n, residuals);
    const int lo = (n - 1) / 2;
    const int hi = (n - 1) - lo;
    const double aa = (residuals[hi] + residuals[lo]) * 0.5;
    fit.intercept = aa;
    double absDev = 0.0;
    double signedSum = 0.0;
    for (int j = 0; j < n; ++j) {
        const double d = fit.y[j] - (fit.x[j] * b + aa);
        absDev += std::fabs(d);
        if (d > 0.0) {
            signedSum += fit.x[j];
        } else {
            signedSum -= fit.x[j];
        }
    }
    fit.absDevSum = absDev;
    freeDVector(residuals);
    return signedSum;
}

}  // namespace quillon::estimation
