// The picture of a track: one self-contained SVG with the plan view of the
// fixes about their mean (east and north at one scale, coloured by fix
// quality, the filter's rejects as crosses, the CEP50 and R95 circles and a
// scale bar) above time series of the height, the satellites and the HDOP.
#ifndef QUILLON_CLI_TRACK_PLOT_H
#define QUILLON_CLI_TRACK_PLOT_H

#include <quillon/cpp/track.hpp>

#include <string>
#include <vector>

#include "output.h"
#include "track_printer.h"

namespace cli {

class TrackPlot {
public:
    explicit TrackPlot(const TrackLayout& layout) : layout_(layout) {}
    void add(const quillon::Fix& fix);
    // The picture, about the mean of the figures.
    void write(Output& o, const quillon::TrackFigures& figures, const std::string& name) const;

    // Points drawn at most: a longer log is thinned evenly (every 2nd, then
    // every 4th fix, ...), so memory stays flat and the picture readable.
    static constexpr std::size_t kMaxPoints = 20000;

private:
    struct Point {
        double latitude, longitude;
        float time;     // seconds since the first fix; NaN without a time
        float msl;        // NaN without a height
        float ellipsoid;  // NaN without an ellipsoidal height
        signed char quality;
        signed char satellites;
        bool rejected;  // a height the filter did not accept
        float hdop;     // NaN without one
    };
    TrackLayout layout_;
    std::vector<Point> points_;
    long long seen_ = 0;
    long long stride_ = 1;
    bool hasStart_ = false;
    double start_ = 0.0;
};

}  // namespace cli

#endif
