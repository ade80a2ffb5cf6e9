// The spread of a log's fixes about their mean, gathered fix by fix.
#include <quillon/cpp/time.hpp>
#include <quillon/cpp/track.hpp>

#include <algorithm>
#include <cmath>
#include <new>

namespace quillon {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegrees = kPi / 180.0;  // and back

// The fraction of a two-dimensional normal distribution with principal
// standard deviations a >= b > 0 inside the circle of radius r about its
// centre. In polar coordinates the radial integral has a closed form,
// (1 - exp(-k r^2 / 2)) / k with k = cos^2 t / a^2 + sin^2 t / b^2, which
// leaves a smooth periodic integrand in t: the midpoint rule converges
// geometrically on it.
double insideCircle(double a, double b, double r) {
    constexpr int kSteps = 720;
    double sum = 0.0;
    for (int i = 0; i < kSteps; ++i) {
        const double t = (i + 0.5) * (2.0 * kPi / kSteps);
        const double c = std::cos(t), s = std::sin(t);
        const double k = c * c / (a * a) + s * s / (b * b);
        sum += -std::expm1(-k * r * r / 2.0) / k;
    }
    return sum * (2.0 * kPi / kSteps) / (2.0 * kPi * a * b);
}

}  // namespace

double TrackStatistics::circle_radius(double see, double sen, double snn, double p) noexcept {
    if (!(p > 0.0 && p < 1.0)) return 0.0;
    // The principal variances: the eigenvalues of the covariance.
    const double mean = (see + snn) / 2.0;
    const double half = std::sqrt((see - snn) * (see - snn) / 4.0 + sen * sen);
    const double big = mean + half;
    if (!(big > 0.0)) return 0.0;
    const double a = std::sqrt(big);
    // A distribution flat along one axis is the limit of a thin one.
    const double b = std::max(std::sqrt(std::max(mean - half, 0.0)), a * 1e-9);
    // The radius lies between that of the narrower axis alone and the
    // circular distribution of the wider one.
    double low = 0.0;
    double high = a * std::sqrt(-2.0 * std::log(1.0 - p)) * 1.0001 + a * 5.0;
    for (int i = 0; i < 100 && high - low > 1e-12 * high; ++i) {
        const double r = (low + high) / 2.0;
        (insideCircle(a, b, r) < p ? low : high) = r;
    }
    return (low + high) / 2.0;
}

TrackStatistics::TrackStatistics(double gap_seconds) noexcept
    : gap_seconds_(gap_seconds), hdop_bins_(new (std::nothrow) int[kHdopBins]()) {}

TrackStatistics::~TrackStatistics() { delete[] hdop_bins_; }

void TrackStatistics::add(const Fix& fix) noexcept {
    // Positions less the first (sums of small numbers keep their digits).
    // A position lies at its ellipsoidal height or on the ellipsoid, along
    // the normal, which east and north do not see (a tilt of a micro-radian
    // between normals metres apart); heights are counted apart, as not
    // every fix has one.
    const Geocentric& p = fix.geocentric;
    if (!has_origin_) {
        has_origin_ = true;
        origin_ = p;
    }
    const double d[3] = {p.x - origin_.x, p.y - origin_.y, p.z - origin_.z};
    ++n_;
    for (int i = 0, k = 0; i < 3; ++i) {
        s_[i] += d[i];
        for (int j = i; j < 3; ++j) ss_[k++] += d[i] * d[j];
    }
    if (fix.has_height && fix.has_separation) {
        if (h_n_ == 0) h_first_ = fix.ellipsoidal_height;
        const double h = fix.ellipsoidal_height - h_first_;
        ++h_n_;
        h_s_ += h;
        h_ss_ += h * h;
    }
    ++by_quality_[fix.quality >= 0 && fix.quality <= 8 ? fix.quality : 9];
    if (fix.hdop >= 0.0) {
        hdop_min_ = hdop_n_ == 0 ? fix.hdop : std::min(hdop_min_, fix.hdop);
        hdop_max_ = hdop_n_ == 0 ? fix.hdop : std::max(hdop_max_, fix.hdop);
        ++hdop_n_;
        // Hundredths, the last bin taking all above (a field of 31 digits
        // would not fit an int).
        if (hdop_bins_ != nullptr) ++hdop_bins_[int(std::min(std::round(fix.hdop * 100.0), kHdopBins - 1.0))];
    }
    if (fix.has_time) {
        const double t = fix.has_date ? fix.unix_time : fix.time_of_day;
        if (has_time_) {
            double step = t - last_time_;
            if (!fix.has_date && step < -kSecondsPerDay / 2) step += kSecondsPerDay;
            if (step > gap_seconds_) {
                ++gaps_;
                gap_time_ += step;
                longest_gap_ = std::max(longest_gap_, step);
            }
        }
        has_time_ = true;
        last_time_ = t;
    }
}

TrackFigures TrackStatistics::figures() const noexcept {
    TrackFigures f;
    f.positions = n_;
    std::copy(by_quality_, by_quality_ + 10, f.by_quality);
    f.gaps = gaps_;
    f.longest_gap = longest_gap_;
    f.gap_time = gap_time_;
    f.hdops = hdop_n_;
    if (hdop_n_ > 0) {
        f.hdop_min = hdop_min_;
        f.hdop_max = hdop_max_;
        if (hdop_bins_ != nullptr) {
            // The lower median of the tally.
            long long seen = 0;
            for (int i = 0; i < kHdopBins; ++i) {
                seen += hdop_bins_[i];
                if (2 * seen >= hdop_n_) {
                    f.hdop_median = std::min(std::max(i / 100.0, hdop_min_), hdop_max_);
                    break;
                }
            }
        }
    }
    if (n_ == 0) return f;
    const double n = double(n_);
    const double m[3] = {s_[0] / n, s_[1] / n, s_[2] / n};
    const GeodeticSolution mean = to_geodetic({origin_.x + m[0], origin_.y + m[1], origin_.z + m[2]});
    f.mean_latitude = mean.point.latitude / kDegrees;
    f.mean_longitude = mean.point.longitude / kDegrees;
    if (h_n_ > 0) {
        f.heights = h_n_;
        f.mean_height = h_first_ + h_s_ / double(h_n_);
        if (h_n_ > 1) f.sd_up = std::sqrt(std::max(0.0, (h_ss_ - h_s_ * h_s_ / double(h_n_)) / double(h_n_ - 1)));
    }
    if (n_ < 2) return f;
    // The covariance of the positions, then turned into east and north at
    // the mean.
    double c[3][3];
    for (int i = 0, k = 0; i < 3; ++i)
        for (int j = i; j < 3; ++j, ++k) c[i][j] = c[j][i] = (ss_[k] - s_[i] * s_[j] / n) / (n - 1.0);
    const double sl = std::sin(mean.point.latitude), cl = std::cos(mean.point.latitude);
    const double so = std::sin(mean.point.longitude), co = std::cos(mean.point.longitude);
    const double east[3] = {-so, co, 0.0};
    const double north[3] = {-sl * co, -sl * so, cl};
    auto quadratic = [&c](const double* u, const double* v) {
        double sum = 0.0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) sum += u[i] * c[i][j] * v[j];
        return sum;
    };
    const double see = std::max(0.0, quadratic(east, east));
    const double snn = std::max(0.0, quadratic(north, north));
    const double sen = quadratic(east, north);
    f.sd_east = std::sqrt(see);
    f.sd_north = std::sqrt(snn);
    f.drms2 = 2.0 * std::sqrt(see + snn);
    f.cep50 = circle_radius(see, sen, snn, 0.5);
    f.r95 = circle_radius(see, sen, snn, 0.95);
    return f;
}

}  // namespace quillon
