// The exact least-absolute-deviation line, by weighted-median descent.
//
// Some best line passes through two of the points. With the line held
// through one point k (the pivot), the sum of |y - y_k - b (x - x_k)| is
// sum |x - x_k| * |s - b| over the slopes s from k to the other points: a
// weighted median of those slopes minimises it, and the line then passes
// through a second point m as well. Pivoting on m and repeating lowers the
// sum at every step; it stops at a line that no rotation about any point on
// it improves, which for a convex piecewise-linear sum is a global minimum.
#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "quillon/cpp/estimation.hpp"

namespace quillon {

namespace {

struct Slope {
    double s;  // slope from the pivot to the point
    double w;  // |x - x_pivot|
    std::size_t index;
};

// The weighted median of items[0..n): the least slope whose weight, with
// the weights of all smaller slopes, reaches half the total. Rearranges
// items. Expected linear time (quickselect on the slopes).
const Slope* weightedMedian(Slope* items, std::size_t n, double total) {
    double below = 0.0;  // weight of everything already known to lie below the range
    const double half = 0.5 * total;
    std::size_t lo = 0, hi = n;
    while (hi - lo > 1) {
        const std::size_t mid = lo + (hi - lo) / 2;
        std::nth_element(items + lo, items + mid, items + hi, [](const Slope& a, const Slope& b) { return a.s < b.s; });
        double left = 0.0;
        for (std::size_t i = lo; i < mid; ++i) left += items[i].w;
        if (below + left >= half) {
            hi = mid;  // the median lies among the smaller slopes
        } else if (below + left + items[mid].w >= half) {
            return items + mid;
        } else {
            below += left + items[mid].w;
            lo = mid + 1;
        }
    }
    return items + lo;
}

double absDevSum(const double* x, const double* y, std::size_t n, double a, double b) {
    double sum = 0.0;
    for (std::size_t j = 0; j < n; ++j) sum += std::fabs(y[j] - (a + b * x[j]));
    return sum;
}

// The best line through the pivot: its slope and the second point it meets
// (n when the pivot has no partner of another abscissa).
struct PivotLine {
    double b;
    std::size_t through;
};

PivotLine bestThrough(const double* x, const double* y, std::size_t n, std::size_t k, std::vector<Slope>& slopes) {
    slopes.clear();
    double total = 0.0;
    for (std::size_t j = 0; j < n; ++j) {
        const double dx = x[j] - x[k];
        if (dx == 0.0) continue;  // same abscissa: its deviation does not depend on the slope
        slopes.push_back(Slope{(y[j] - y[k]) / dx, std::fabs(dx), j});
        total += std::fabs(dx);
    }
    if (slopes.empty()) return {0.0, n};
    const Slope* m = weightedMedian(slopes.data(), slopes.size(), total);
    return {m->s, m->index};
}

}  // namespace

Result<Line> lad_fit(const double* x, const double* y, std::size_t n) noexcept {
    if (n < 2) return make_error(Errc::invalid_argument, "exact line fit: a line needs at least 2 points");
    for (std::size_t j = 0; j < n; ++j)
        if (!std::isfinite(x[j]) || !std::isfinite(y[j]))
            return make_error(Errc::not_finite, "exact line fit: a coordinate is NaN or infinite");
    bool spread = false;
    for (std::size_t j = 1; j < n && !spread; ++j) spread = x[j] != x[0];
    if (!spread) return make_error(Errc::singular, "exact line fit: the abscissae are all equal, so no slope can be told");

    std::vector<Slope> slopes;
    try {
        slopes.reserve(n);
    } catch (const std::bad_alloc&) {
        return make_error(Errc::no_memory, "exact line fit: no memory for the slopes");
    }

    // Start from the point of median abscissa: its slopes are weighted most evenly.
    std::size_t pivot = 0;
    {
        std::vector<std::size_t> order;
        try {
            order.resize(n);
        } catch (const std::bad_alloc&) {
            return make_error(Errc::no_memory, "exact line fit: no memory for the slopes");
        }
        for (std::size_t j = 0; j < n; ++j) order[j] = j;
        std::nth_element(order.begin(), order.begin() + n / 2, order.end(),
                         [&](std::size_t i, std::size_t j) { return x[i] < x[j]; });
        pivot = order[n / 2];
    }

    PivotLine line = bestThrough(x, y, n, pivot, slopes);
    double a = y[pivot] - line.b * x[pivot];
    double best = absDevSum(x, y, n, a, line.b);
    Line result{a, line.b, best / static_cast<double>(n)};
    // Each step lowers the sum, and there are finitely many lines through two
    // points, so the descent ends; the cap only guards against rounding
    // making two lines of equal sum look each better than the other.
    const std::size_t maxSteps = 64 + 4 * n;
    for (std::size_t step = 0; step < maxSteps; ++step) {
        if (line.through >= n) break;
        const std::size_t next = line.through;
        const PivotLine turned = bestThrough(x, y, n, next, slopes);
        const double na = y[next] - turned.b * x[next];
        const double sum = absDevSum(x, y, n, na, turned.b);
        if (!(sum < best)) {
            // No rotation about either point of the line helps. More points
            // may lie on it; a rotation about one of those is the last way
            // down (only when three or more points are collinear).
            bool moved = false;
            for (std::size_t j = 0; j < n && !moved; ++j) {
                if (j == pivot || j == next) continue;
                const double r = y[j] - (result.a + result.b * x[j]);
                if (std::fabs(r) > 1e-12 * (std::fabs(y[j]) + std::fabs(result.a) + std::fabs(result.b * x[j])))
                    continue;
                const PivotLine other = bestThrough(x, y, n, j, slopes);
                const double oa = y[j] - other.b * x[j];
                const double osum = absDevSum(x, y, n, oa, other.b);
                if (osum < best) {
                    best = osum;
                    result = Line{oa, other.b, osum / static_cast<double>(n)};
                    pivot = j;
                    line = other;
                    moved = true;
                }
            }
            if (!moved) break;
            continue;
        }
        best = sum;
        result = Line{na, turned.b, sum / static_cast<double>(n)};
        pivot = next;
        line = turned;
    }
    return result;
}

}  // namespace quillon
