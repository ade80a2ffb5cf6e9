#include "track_plot.h"

#include <quillon/cpp/geodesy.hpp>

#include <algorithm>
#include <cmath>
#include <limits>

namespace cli {

namespace {

constexpr double kDegrees = 3.141592653589793 / 180.0;
constexpr float kNoValue = std::numeric_limits<float>::quiet_NaN();

// The picture's frame, in SVG user units (pixels at 100 %).
constexpr double kWidth = 820.0;
constexpr double kPlanSize = 460.0;  // the plan view's square
constexpr double kLeft = 80.0;       // room for the vertical axis labels
constexpr double kTop = 50.0;
constexpr double kSeriesHeight = 120.0;
constexpr double kSeriesGap = 60.0;
constexpr double kSeriesWidth = kWidth - kLeft - 30.0;

// Colours by fix quality, told apart in print and by the colour-blind as
// far as eight colours can be (Okabe and Ito's palette).
const char* qualityColour(int quality) {
    switch (quality) {
    case 1: return "#0072B2";  // autonomous: blue
    case 2: return "#56B4E9";  // differential: sky blue
    case 3: return "#CC79A7";  // precise: purple
    case 4: return "#009E73";  // RTK fixed: green
    case 5: return "#E69F00";  // RTK float: orange
    case 6: return "#D55E00";  // estimated: vermilion
    }
    return "#777777";
}

const char* qualityName(int quality) {
    switch (quality) {
    case 1: return "autonomous (1)";
    case 2: return "differential (2)";
    case 3: return "precise (3)";
    case 4: return "RTK fixed (4)";
    case 5: return "RTK float (5)";
    case 6: return "estimated (6)";
    case 7: return "manual (7)";
    }
    return "quality unknown";
}

// A tick step of 1, 2 or 5 times a power of ten giving about `count` ticks
// over span.
double niceStep(double span, int count) {
    if (!(span > 0.0)) return 1.0;
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double m = raw / power;
    return (m < 1.5 ? 1.0 : m < 3.5 ? 2.0 : m < 7.5 ? 5.0 : 10.0) * power;
}

Output& number(Output& o, double value) {
    // Tick labels: as few decimals as the step needs, and no "-0".
    if (std::fabs(value) < 1e-9) return o.ch('0');
    const double a = std::fabs(value);
    return o.general(value, a >= 1000 ? 7 : a >= 1 ? 6 : 3);
}

// Steps from low to high, counted rather than added up: at values far
// beyond their step (a height of 1e30 m from a broken receiver) adding
// the step would change nothing and never end.
int tickCount(double low, double high, double step) {
    const double n = std::round((high - low) / step);
    return n >= 0.0 && n <= 50.0 ? int(n) : 0;
}

struct Range {
    double low = 0.0, high = 0.0;
    bool any = false;
    void take(double v) {
        if (std::isnan(v)) return;
        low = any ? std::min(low, v) : v;
        high = any ? std::max(high, v) : v;
        any = true;
    }
    // Widened to whole steps, never empty.
    void settle(int ticks, double* step) {
        if (!any) low = 0.0, high = 1.0;
        if (high - low < 1e-9) low -= 0.5, high += 0.5;
        *step = niceStep(high - low, ticks);
        low = std::floor(low / *step) * *step;
        high = std::ceil(high / *step) * *step;
    }
};

// XML text: the log's name may hold anything.
Output& xml(Output& o, const std::string& s) {
    for (const char c : s) {
        if (c == '<') o.text("&lt;");
        else if (c == '>') o.text("&gt;");
        else if (c == '&') o.text("&amp;");
        else if (c == '"') o.text("&quot;");
        else if (static_cast<unsigned char>(c) < 0x20) o.ch('?');
        else o.ch(c);
    }
    return o;
}

Output& at(Output& o, double x, double y) { return o.text(" x=\"").fixed(x, 1).text("\" y=\"").fixed(y, 1).ch('"'); }

void cross(Output& o, double x, double y, double r, const char* colour) {
    o.text("<path d=\"M").fixed(x - r, 1).ch(' ').fixed(y - r, 1).text("L").fixed(x + r, 1).ch(' ').fixed(y + r, 1);
    o.text("M").fixed(x - r, 1).ch(' ').fixed(y + r, 1).text("L").fixed(x + r, 1).ch(' ').fixed(y - r, 1);
    o.text("\" stroke=\"").text(colour).text("\" stroke-width=\"1.5\"/>\n");
}

void dot(Output& o, double x, double y, const char* colour) {
    o.text("<circle cx=\"").fixed(x, 1).text("\" cy=\"").fixed(y, 1).text("\" r=\"2.2\" fill=\"").text(colour);
    o.text("\"/>\n");
}

}  // namespace

void TrackPlot::add(const quillon::Fix& fix) {
    const long long index = seen_++;
    if (index % stride_ != 0) return;
    if (points_.size() == kMaxPoints) {
        // Keep every other point and take every other one from now on.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < points_.size(); i += 2) points_[kept++] = points_[i];
        points_.resize(kept);
        stride_ *= 2;
        if (index % stride_ != 0) return;
    }
    Point p;
    p.latitude = fix.latitude;
    p.longitude = fix.longitude;
    p.time = kNoValue;
    if (fix.has_time) {
        const double t = fix.has_date ? fix.unix_time : fix.time_of_day;
        if (!hasStart_) hasStart_ = true, start_ = t;
        p.time = float(t - start_);
    }
    p.msl = fix.has_height ? float(fix.height) : kNoValue;
    p.ellipsoid = fix.has_separation ? float(fix.ellipsoidal_height) : kNoValue;
    p.quality = static_cast<signed char>(std::min(fix.quality, 9));
    p.satellites = static_cast<signed char>(std::min(fix.satellites, 127));
    p.rejected = fix.has_height && !fix.height_accepted;
    p.hdop = fix.hdop >= 0.0 ? float(fix.hdop) : kNoValue;
    points_.push_back(p);
}

void TrackPlot::write(Output& o, const quillon::TrackFigures& f, const std::string& name) const {
    // East and north in metres about the mean, through geocentric
    // coordinates turned into the local frame at the mean.
    const double lat0 = f.mean_latitude * kDegrees, lon0 = f.mean_longitude * kDegrees;
    const quillon::Geocentric origin = quillon::to_geocentric({lat0, lon0, 0.0});
    const double sl = std::sin(lat0), cl = std::cos(lat0), so = std::sin(lon0), co = std::cos(lon0);
    std::vector<double> east(points_.size()), north(points_.size());
    double extent = std::max(f.r95, 1e-3);
    bool ellipsoidal = !points_.empty();
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const quillon::Geocentric g =
            quillon::to_geocentric({points_[i].latitude * kDegrees, points_[i].longitude * kDegrees, 0.0});
        const double dx = g.x - origin.x, dy = g.y - origin.y, dz = g.z - origin.z;
        east[i] = -so * dx + co * dy;
        north[i] = -sl * co * dx - sl * so * dy + cl * dz;
        extent = std::max(extent, std::max(std::fabs(east[i]), std::fabs(north[i])));
        ellipsoidal = ellipsoidal && !std::isnan(points_[i].ellipsoid);
    }
    const double step = niceStep(2.0 * extent, 5);
    const double half = std::ceil(extent * 1.05 / step) * step;
    const double scale = kPlanSize / (2.0 * half);  // pixels per metre, the same both ways
    const double cx = kLeft + kPlanSize / 2.0, cy = kTop + kPlanSize / 2.0;
    const double seriesTop = kTop + kPlanSize + 70.0;
    const double height = seriesTop + 3.0 * (kSeriesHeight + kSeriesGap);

    o.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    o.text("<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"").fixed(kWidth, 0);
    o.text("\" height=\"").fixed(height, 0).text("\" viewBox=\"0 0 ").fixed(kWidth, 0).ch(' ').fixed(height, 0);
    o.text("\" font-family=\"sans-serif\" font-size=\"12\">\n");
    o.text("<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n");
    o.text("<text").text(" x=\"").fixed(kLeft, 1).text("\" y=\"24\" font-size=\"15\" font-weight=\"bold\">");
    xml(o, name).text(": ").integer(f.positions).text(" fixes</text>\n");

    // The plan view: the frame, the grid with labels, the circles, the
    // points, the scale bar.
    o.text("<g id=\"plan\">\n");
    o.text("<rect").text(" x=\"").fixed(kLeft, 1).text("\" y=\"").fixed(kTop, 1).text("\" width=\"").fixed(kPlanSize, 1);
    o.text("\" height=\"").fixed(kPlanSize, 1).text("\" fill=\"none\" stroke=\"black\"/>\n");
    for (int tick = 0, ticks = tickCount(-half, half, step); tick <= ticks; ++tick) {
        const double v = -half + tick * step;
        const double x = cx + v * scale, y = cy - v * scale;
        o.text("<path d=\"M").fixed(x, 1).ch(' ').fixed(kTop, 1).text("V").fixed(kTop + kPlanSize, 1);
        o.text("M").fixed(kLeft, 1).ch(' ').fixed(y, 1).text("H").fixed(kLeft + kPlanSize, 1);
        o.text("\" stroke=\"#dddddd\"/>\n");
        o.text("<text");
        at(o, x, kTop + kPlanSize + 16).text(" text-anchor=\"middle\">");
        number(o, v).text("</text>\n<text");
        at(o, kLeft - 6, y + 4).text(" text-anchor=\"end\">");
        number(o, v).text("</text>\n");
    }
    o.text("<text");
    at(o, cx, kTop + kPlanSize + 34).text(" text-anchor=\"middle\">east of the mean (m)</text>\n");
    o.text("<text transform=\"translate(").fixed(kLeft - 58, 1).ch(',').fixed(cy, 1);
    o.text(") rotate(-90)\" text-anchor=\"middle\">north of the mean (m)</text>\n");
    if (f.positions > 1) {
        o.text("<circle cx=\"").fixed(cx, 1).text("\" cy=\"").fixed(cy, 1).text("\" r=\"").fixed(f.cep50 * scale, 1);
        o.text("\" fill=\"none\" stroke=\"black\" stroke-dasharray=\"4 3\"/>\n");
        o.text("<circle cx=\"").fixed(cx, 1).text("\" cy=\"").fixed(cy, 1).text("\" r=\"").fixed(f.r95 * scale, 1);
        o.text("\" fill=\"none\" stroke=\"black\" stroke-dasharray=\"10 4\"/>\n");
    }
    for (std::size_t i = 0; i < points_.size(); ++i) {
        const double x = cx + east[i] * scale, y = cy - north[i] * scale;
        if (points_[i].rejected)
            cross(o, x, y, 3.5, qualityColour(points_[i].quality));
        else
            dot(o, x, y, qualityColour(points_[i].quality));
    }
    // The scale bar: one grid step, under the plan's top left corner.
    o.text("<path d=\"M").fixed(kLeft + 10, 1).ch(' ').fixed(kTop + 14, 1).text("h").fixed(step * scale, 1);
    o.text("\" stroke=\"black\" stroke-width=\"3\"/>\n<text");
    at(o, kLeft + 10, kTop + 30).ch('>');
    number(o, step).text(" m</text>\n</g>\n");

    // The legend, right of the plan.
    const double lx = kLeft + kPlanSize + 24;
    double ly = kTop + 10;
    o.text("<g id=\"legend\">\n<text");
    at(o, lx, ly).text(" font-weight=\"bold\">fix quality</text>\n");
    bool shown[10] = {};
    for (const Point& p : points_) shown[p.quality >= 0 && p.quality <= 9 ? p.quality : 9] = true;
    for (int q = 0; q < 10; ++q) {
        if (!shown[q]) continue;
        ly += 18;
        dot(o, lx + 6, ly - 4, qualityColour(q));
        o.text("<text");
        at(o, lx + 16, ly).ch('>').text(qualityName(q)).text("</text>\n");
    }
    ly += 24;
    cross(o, lx + 6, ly - 4, 3.5, "#555555");
    o.text("<text");
    at(o, lx + 16, ly).text(">height rejected by the filter</text>\n");
    ly += 22;
    o.text("<path d=\"M").fixed(lx, 1).ch(' ').fixed(ly - 4, 1).text("h14\" stroke=\"black\" stroke-dasharray=\"4 3\"/>");
    o.text("<text");
    at(o, lx + 20, ly).text(">CEP50 ").fixed(f.cep50, 3).text(" m</text>\n");
    ly += 18;
    o.text("<path d=\"M").fixed(lx, 1).ch(' ').fixed(ly - 4, 1).text("h14\" stroke=\"black\" stroke-dasharray=\"10 4\"/>");
    o.text("<text");
    at(o, lx + 20, ly).text(">R95 ").fixed(f.r95, 3).text(" m</text>\n");
    ly += 24;
    o.text("<text");
    at(o, lx, ly).text(">circles: spread about the mean,</text>\n<text");
    at(o, lx, ly + 15).text(">not accuracy against the truth</text>\n</g>\n");

    // The time series share the time axis.
    Range time;
    for (const Point& p : points_) time.take(p.time);
    double timeStep = 1.0;
    time.settle(8, &timeStep);
    auto series = [&](int row, const char* id, const char* label, auto value, bool verdicts) {
        const double top = seriesTop + row * (kSeriesHeight + kSeriesGap);
        Range r;
        for (const Point& p : points_) r.take(value(p));
        double valueStep = 1.0;
        r.settle(4, &valueStep);
        auto x = [&](double t) { return kLeft + (t - time.low) / (time.high - time.low) * kSeriesWidth; };
        auto y = [&](double v) { return top + kSeriesHeight - (v - r.low) / (r.high - r.low) * kSeriesHeight; };
        o.text("<g id=\"").text(id).text("\">\n<rect").text(" x=\"").fixed(kLeft, 1).text("\" y=\"").fixed(top, 1);
        o.text("\" width=\"").fixed(kSeriesWidth, 1).text("\" height=\"").fixed(kSeriesHeight, 1);
        o.text("\" fill=\"none\" stroke=\"black\"/>\n");
        for (int tick = 0, ticks = tickCount(r.low, r.high, valueStep); tick <= ticks; ++tick) {
            const double v = r.low + tick * valueStep;
            o.text("<path d=\"M").fixed(kLeft, 1).ch(' ').fixed(y(v), 1).text("h").fixed(kSeriesWidth, 1);
            o.text("\" stroke=\"#dddddd\"/>\n<text");
            at(o, kLeft - 6, y(v) + 4).text(" text-anchor=\"end\">");
            number(o, v).text("</text>\n");
        }
        for (int tick = 0, ticks = tickCount(time.low, time.high, timeStep); tick <= ticks; ++tick) {
            const double t = time.low + tick * timeStep;
            o.text("<text");
            at(o, x(t), top + kSeriesHeight + 15).text(" text-anchor=\"middle\">");
            number(o, t).text("</text>\n");
        }
        o.text("<text");
        at(o, kLeft, top - 8).text(" font-weight=\"bold\">").text(label).text("</text>\n");
        for (const Point& p : points_) {
            const double v = value(p);
            if (std::isnan(v) || std::isnan(p.time)) continue;
            if (verdicts && p.rejected)
                cross(o, x(p.time), y(v), 3.0, "#D55E00");
            else
                dot(o, x(p.time), y(v), verdicts ? "#009E73" : "#0072B2");
        }
        o.text("</g>\n");
    };
    series(0, "height",
           ellipsoidal ? "ellipsoidal height (m); green: accepted by the filter, crosses: rejected"
                       : "height above mean sea level (m); green: accepted by the filter, crosses: rejected",
           [ellipsoidal](const Point& p) { return double(ellipsoidal ? p.ellipsoid : p.msl); }, true);
    series(1, "satellites", "satellites in use", [](const Point& p) {
        return p.satellites >= 0 ? double(p.satellites) : std::numeric_limits<double>::quiet_NaN();
    }, false);
    series(2, "hdop", "HDOP", [](const Point& p) { return double(p.hdop); }, false);
    o.text("<text");
    at(o, kLeft + kSeriesWidth / 2, height - 12).text(" text-anchor=\"middle\">time since the first fix (s)</text>\n");
    o.text("</svg>\n");
}

}  // namespace cli
