// Least-absolute-deviation straight line: the least-squares line and the
// spread of its slope bracket the slope where the optimality sum changes
// sign; bisection narrows the bracket.
#include <cmath>
#include <limits>

#include "estimation/slope_cost.h"
#include "quillon/estimation.h"

namespace {

using quillon::estimation::fitRecord;
using quillon::estimation::slopeCost;

constexpr double kDegenerateSpread = 1e-8;
constexpr double kExactLine = 1e-7;
// The widening moves the bracket by 3 sigb a step and the optimum lies
// within a few sigb of the least-squares slope; reaching this many steps
// means the sums have stopped being meaningful numbers.
constexpr int kMaxWideningSteps = 1000;

void writeFit(double* a, double* b, double* meanAbsDev, double aValue, double bValue, double devValue) {
    *a = aValue;
    *b = bValue;
    *meanAbsDev = devValue;
}

void writeNoFit(double* a, double* b, double* meanAbsDev) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    writeFit(a, b, meanAbsDev, nan, nan, nan);
}

}  // namespace

void centTendFit(double* x, double* y, int n, double* a, double* b, double* meanAbsDev) {
    auto& fit = fitRecord();
    fit.count = n;
    fit.x = x;
    fit.y = y;
    if (n < 1) {
        writeFit(a, b, meanAbsDev, std::numeric_limits<double>::quiet_NaN(), 0.0, 0.0);
        return;
    }

    double sx = 0.0, sy = 0.0, sxy = 0.0, sxx = 0.0;
    for (int j = 0; j < n; ++j) {
        sx += x[j];
        sy += y[j];
        sxy += x[j] * y[j];
        sxx += x[j] * x[j];
    }
    const double nd = n;
    const double del = nd * sxx - sx * sx;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(sxy) || !std::isfinite(sxx) ||
        !std::isfinite(del)) {
        writeNoFit(a, b, meanAbsDev);
        return;
    }
    if (std::fabs(del) < kDegenerateSpread) {
        // All abscissae equal: no slope can be told; the mean abscissa is
        // what callers of this library have always been given.
        writeFit(a, b, meanAbsDev, sx / nd, 0.0, 0.0);
        return;
    }

    double aa = (sxx * sy - sxy * sx) / del;
    double bb = (nd * sxy - sy * sx) / del;
    double chisq = 0.0;
    for (int j = 0; j < n; ++j) {
        const double r = y[j] - (bb * x[j] + aa);
        chisq += r * r;
    }
    const double sigb = std::sqrt(chisq / del);
    // NaN when rounding made del negative (huge, nearly equal abscissae);
    // such a bracket would widen forever.
    if (!std::isfinite(sigb)) {
        writeNoFit(a, b, meanAbsDev);
        return;
    }
    if (sigb < kExactLine) {
        writeFit(a, b, meanAbsDev, aa, bb, 0.0);
        return;
    }

    double b1 = bb;
    double f1 = slopeCost(b1);
    const double step = std::fabs(3.0 * sigb);
    double b2 = f1 > 0.0 ? bb + step : bb - step;
    double f2 = slopeCost(b2);
    int widening = 0;
    while (f1 * f2 > 0.0) {
        if (++widening > kMaxWideningSteps) {
            writeNoFit(a, b, meanAbsDev);
            return;
        }
        bb = (b2 + b2) - b1;
        b1 = b2;
        f1 = f2;
        b2 = bb;
        f2 = slopeCost(b2);
    }

    const double tol = 0.01 * sigb;
    while (std::fabs(b2 - b1) > tol) {
        bb = (b2 + b1) * 0.5;
        if (bb == b1 || bb == b2) break;
        const double f = slopeCost(bb);
        if (f * f1 >= 0.0) {
            b1 = bb;
            f1 = f;
        } else {
            b2 = bb;
        }
    }
    writeFit(a, b, meanAbsDev, fit.intercept, bb, fit.absDevSum / nd);
}
