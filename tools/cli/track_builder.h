// Joins the decoded sentences of one report cycle (the same time of day)
// into one position fix, dates it, measures the step from the previous fix
// and screens its height with the library's median filter.
#ifndef QUILLON_CLI_TRACK_BUILDER_H
#define QUILLON_CLI_TRACK_BUILDER_H

#include <quillon/cpp/estimation.hpp>
#include <quillon/cpp/geodesy.hpp>

#include "sentence_scanner.h"

namespace cli {

struct Fix {
    bool hasTime = false;
    double timeOfDay = 0.0;
    bool hasDate = false;
    double dos = 0.0;  // seconds since 1970 (the library's time scale), when the date is known
    double latitude = 0.0;
    double longitude = 0.0;
    bool hasHeight = false;
    double height = 0.0;
    int quality = -1;
    int satellites = -1;
    double step = 0.0;  // meters from the previous fix; 0 for the first
    bool first = true;
    // Median filter outcome for the height: status 0 raw (not accepted),
    // 1 median of 3 or 4, 2 median of 5 or more.
    bool heightAccepted = false;
    int filterStatus = 0;
    double filteredHeight = 0.0;
};

class FixOutput {
public:
    virtual void writeFix(const Fix& fix) = 0;

protected:
    ~FixOutput() = default;
};

struct TrackTotals {
    long long fixes = 0;
    long long epochsWithoutFix = 0;  // cycles whose sentences carried no valid position
    long long heights = 0;
    long long rejectedHeights = 0;  // heights the filter did not accept
    double distance = 0.0;          // meters, the sum of the steps
    bool hasFirst = false;
    Fix firstFix;
    Fix lastFix;
};

class TrackBuilder : public FixSink {
public:
    // tolerance: the filter's acceptance band around the median, meters.
    TrackBuilder(FixOutput* output, double tolerance);
    void onFix(FixSentence type, const FixReport& report) override;
    // Ends the last cycle; call once at the end of the log.
    void finish();
    const TrackTotals& totals() const { return totals_; }

private:
    struct Epoch {
        bool any = false;
        bool hasTime = false;
        double timeOfDay = 0.0;
        int positionRank = 0;  // 3 GGA (has height), 2 RMC, 1 GLL
        FixReport best;
        int quality = -1;
        int satellites = -1;
        unsigned seenTypes = 0;  // bit per FixSentence
    };
    void flush();
    void emit(const Epoch& epoch);

    FixOutput* output_;
    double tolerance_;
    Epoch epoch_;
    quillon::MedianFilter filter_;
    TrackTotals totals_;
    // Date: midnight of the current day on the library's scale, and the
    // time of day when it was learned (to notice the next midnight).
    bool hasDate_ = false;
    double midnight_ = 0.0;
    double dateTimeOfDay_ = 0.0;
    // Seconds since the first fix, through midnights: the filter's clock.
    bool hasClock_ = false;
    double clock_ = 0.0;
    double clockTimeOfDay_ = 0.0;
    bool hasPrevious_ = false;
    quillon::Geocentric previous_;
};

}  // namespace cli

#endif
