// Least-absolute-deviation straight line: the least-squares line and the
// spread of its slope bracket the slope where the optimality sum changes
// sign; bisection narrows the bracket.
#include <cmath>
#include <limits>
#include <new>

#include "estimation/slope_cost.h"
#include "quillon/cpp/estimation.hpp"

namespace quillon {

namespace {

constexpr double kDegenerateSpread = 1e-8;
constexpr double kExactLine = 1e-7;
// The widening has no cap of its own: with repeated abscissae the median's
// tie rule can keep the optimality sum's sign for every slope of one side,
// and the loop then ends, if ever, only where rounding in the residuals
// flips it, which on small sets takes from a few thousand to millions of
// steps. What it may spend is bounded by work instead (sort and sum passes
// over the points), a few tenths of a second at most; past that the fit is given up.
constexpr double kWideningWork = 1.5e8;

// Work of one cost evaluation on n points, in the units of kWideningWork.
double evaluationWork(std::size_t n) {
    const double nd = static_cast<double>(n);
    return (nd + 8.0) * (std::log2(nd + 1.0) + 2.0);
}

Error notFinite(const char* message) { return make_error(Errc::not_finite, message); }

}  // namespace

double LineFit::cost(double b) noexcept {
    return estimation::slopeCost(x_, y_, n_, b, scratch_.data(), intercept_, abs_dev_sum_);
}

Result<Line> LineFit::fit(const double* x, const double* y, std::size_t n) noexcept {
    if (n == 0) return make_error(Errc::invalid_argument, "line fit: no points");

    double sx = 0.0, sy = 0.0, sxy = 0.0, sxx = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
        sx += x[j];
        sy += y[j];
        sxy += x[j] * y[j];
        sxx += x[j] * x[j];
    }
    const double nd = static_cast<double>(n);
    const double del = nd * sxx - sx * sx;
    if (!std::isfinite(sx) || !std::isfinite(sy) || !std::isfinite(sxy) || !std::isfinite(sxx) ||
        !std::isfinite(del))
        return notFinite("line fit: a coordinate is NaN or infinite, or the sums of the points overflow");
    if (std::fabs(del) < kDegenerateSpread)
        return make_error(Errc::singular, "line fit: the abscissae are all equal, so no slope can be told");

    double aa = (sxx * sy - sxy * sx) / del;
    double bb = (nd * sxy - sy * sx) / del;
    double chisq = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
        const double r = y[j] - (bb * x[j] + aa);
        chisq += r * r;
    }
    const double sigb = std::sqrt(chisq / del);
    // NaN when rounding made del negative (huge, nearly equal abscissae);
    // such a bracket would widen forever.
    if (!std::isfinite(sigb))
        return notFinite("line fit: the abscissae are too close together to resolve their spread");
    if (sigb < kExactLine) return Line{aa, bb, 0.0};

    try {
        if (scratch_.size() < n) scratch_.resize(n);
    } catch (const std::bad_alloc&) {
        return make_error(Errc::no_memory, "line fit: no memory for the residuals");
    }
    // The points belong to this call only: cost() sees them until it returns.
    struct Points {
        LineFit& fit;
        Points(LineFit& f, const double* px, const double* py, std::size_t count) : fit(f) {
            fit.x_ = px;
            fit.y_ = py;
            fit.n_ = count;
        }
        ~Points() {
            fit.x_ = nullptr;
            fit.y_ = nullptr;
            fit.n_ = 0;
        }
        Points(const Points&) = delete;
        Points& operator=(const Points&) = delete;
    } points(*this, x, y, n);

    double b1 = bb;
    double f1 = cost(b1);
    const double step = std::fabs(3.0 * sigb);
    double b2 = f1 > 0.0 ? bb + step : bb - step;
    double f2 = cost(b2);
    const double maxSteps = kWideningWork / evaluationWork(n);
    double widening = 0.0;
    while (f1 * f2 > 0.0) {
        bb = (b2 + b2) - b1;
        // A slope that no longer moves, or one past the largest double, keeps
        // the sum's sign for good: the stated loop would never end.
        if (bb == b2 || !std::isfinite(bb) || std::isnan(f2))
            return make_error(Errc::not_converged,
                              "line fit: the optimality sum keeps its sign for every slope the widening can reach");
        if (++widening > maxSteps)
            return make_error(Errc::not_converged,
                              "line fit: no bracket of the best slope within the widening's work limit");
        b1 = b2;
        f1 = f2;
        b2 = bb;
        f2 = cost(b2);
    }

    const double tol = 0.01 * sigb;
    while (std::fabs(b2 - b1) > tol) {
        bb = (b2 + b1) * 0.5;
        if (bb == b1 || bb == b2) break;
        const double f = cost(bb);
        if (f * f1 >= 0.0) {
            b1 = bb;
            f1 = f;
        } else {
            b2 = bb;
        }
    }
    return Line{intercept_, bb, abs_dev_sum_ / nd};
}

}  // namespace quillon
