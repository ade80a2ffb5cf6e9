// The hosts' median, line fit, data filter and station record over the C++
// API.
#include <algorithm>
#include <limits>

#include "quillon/cpp/estimation.hpp"
#include "quillon/estimation.h"

namespace {

// The working record of every centTendFit call in the process.
quillon::LineFit processFit;

// 1..30, as add_sample takes it; the field is public, so the clamped value
// is written back.
int usableWindow(int size) { return std::clamp(size, 1, quillon::kMaxFilterWindow); }

}  // namespace

void centTend(double* values, int count, double* median) {
    *median = quillon::sort_and_median(values, count > 0 ? static_cast<std::size_t>(count) : 0);
}

void centTendFit(double* x, double* y, int n, double* a, double* b, double* meanAbsDev) {
    const quillon::Result<quillon::Line> line = processFit.fit(x, y, n > 0 ? static_cast<std::size_t>(n) : 0);
    if (line) {
        *a = line->a;
        *b = line->b;
        *meanAbsDev = line->mean_abs_dev;
        return;
    }
    double intercept = std::numeric_limits<double>::quiet_NaN();
    double slope = std::numeric_limits<double>::quiet_NaN();
    double deviation = std::numeric_limits<double>::quiet_NaN();
    switch (line.error().code) {
    case quillon::Errc::invalid_argument:
        slope = 0.0;
        deviation = 0.0;
        break;
    case quillon::Errc::singular: {
        // All abscissae equal: the mean abscissa is what hosts have always
        // been given beside slope 0.
        double sx = 0.0;
        for (int j = 0; j < n; ++j) sx += x[j];
        intercept = sx / static_cast<double>(n);
        slope = 0.0;
        deviation = 0.0;
        break;
    }
    default:
        break;
    }
    *a = intercept;
    *b = slope;
    *meanAbsDev = deviation;
}

FilterData::FilterData(int size_, double gate_)
    : values(), times(), lastIndex(0), count(0), output(0.0), auxOutput(0), status(0),
      size(usableWindow(size_)), gate(gate_) {}

// Out of line, so that the operators stay where hosts already link them.
FilterData& FilterData::operator=(const FilterData&) = default;
FilterData& FilterData::operator=(FilterData&&) = default;

int FilterData::addData(double value, double time, double tolerance, int maxSamples) {
    size = usableWindow(size);
    const quillon::SampleRing ring{values, times, &lastIndex, &count, size, gate};
    const quillon::SampleOutcome outcome = quillon::add_sample(ring, value, time, tolerance, maxSamples);
    output = outcome.output;
    auxOutput = 0;
    status = outcome.status;
    return outcome.accepted ? 1 : 0;
}

// Only the first character of the name is set: the rest of the buffer is
// the caller's to fill.
CalcBaseStation::CalcBaseStation() : x(0.0), y(0.0), z(0.0), tag(0) { name[0] = 0; }

CalcBaseStation& CalcBaseStation::operator=(const CalcBaseStation&) = default;
CalcBaseStation& CalcBaseStation::operator=(CalcBaseStation&&) = default;
