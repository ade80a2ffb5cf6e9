#include "track_builder.h"

#include <quillon/geodesy.h>
#include <quillon/timescale.h>

#include <cmath>

namespace cli {

namespace {

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;
constexpr double kDay = 86400.0;
// The filter's sample window and its largest median, as FilterData's own
// defaults; its gate (500 s) is the default too.
constexpr int kFilterSamples = 20;

int rankOf(FixSentence type) {
    switch (type) {
    case FixSentence::kGga: return 3;
    case FixSentence::kRmc: return 2;
    case FixSentence::kGll: return 1;
    case FixSentence::kZda: return 0;
    }
    return 0;
}

}  // namespace

TrackBuilder::TrackBuilder(FixOutput* output, double tolerance) : output_(output), tolerance_(tolerance) {}

void TrackBuilder::onFix(FixSentence type, const FixReport& report) {
    // A new time of day starts a new cycle. A sentence without a time joins
    // the current cycle unless its type already came in it (receivers
    // without a fix send time-less sentences every cycle).
    const unsigned bit = 1u << unsigned(type);
    if (report.hasTime ? (epoch_.hasTime && std::fabs(report.timeOfDay - epoch_.timeOfDay) > 1e-3)
                       : (epoch_.seenTypes & bit) != 0)
        flush();
    epoch_.any = true;
    epoch_.seenTypes |= bit;
    if (report.hasTime && !epoch_.hasTime) {
        epoch_.hasTime = true;
        epoch_.timeOfDay = report.timeOfDay;
    }
    if (report.hasDate) {
        hasDate_ = true;
        midnight_ = yearMonthDayToDos(report.year, report.month, report.day, 0, 0, 0.0);
        dateTimeOfDay_ = report.hasTime ? report.timeOfDay : epoch_.timeOfDay;
    }
    if (report.quality >= 0) epoch_.quality = report.quality;
    if (report.satellites >= 0) epoch_.satellites = report.satellites;
    if (report.hasPosition && rankOf(type) > epoch_.positionRank) {
        epoch_.positionRank = rankOf(type);
        epoch_.best = report;
    }
}

void TrackBuilder::finish() { flush(); }

void TrackBuilder::flush() {
    if (epoch_.any) {
        if (epoch_.positionRank > 0)
            emit(epoch_);
        else
            ++totals_.epochsWithoutFix;
    }
    epoch_ = Epoch();
}

void TrackBuilder::emit(const Epoch& epoch) {
    Fix fix;
    fix.hasTime = epoch.hasTime;
    fix.timeOfDay = epoch.timeOfDay;
    fix.latitude = epoch.best.latitude;
    fix.longitude = epoch.best.longitude;
    fix.hasHeight = epoch.best.hasHeight;
    fix.height = epoch.best.height;
    fix.quality = epoch.quality;
    fix.satellites = epoch.satellites;

    if (fix.hasTime) {
        if (hasDate_) {
            // The date was learned earlier in the day; a time of day far
            // below it means the log has passed midnight since.
            if (fix.timeOfDay < dateTimeOfDay_ - kDay / 2) {
                midnight_ += kDay;
                dateTimeOfDay_ = fix.timeOfDay;
            }
            fix.hasDate = true;
            fix.dos = midnight_ + fix.timeOfDay;
        }
        if (hasClock_) {
            double delta = fix.timeOfDay - clockTimeOfDay_;
            if (delta < -kDay / 2) delta += kDay;
            if (delta > 0.0) clock_ += delta;
        }
        hasClock_ = true;
        clockTimeOfDay_ = fix.timeOfDay;
    }

    // The step is the chord between the two points on the ellipsoid: for
    // fixes metres or kilometres apart it equals the distance over the
    // ground to well below a millimetre.
    double lat = fix.latitude * kDegreesToRadians;
    double lon = fix.longitude * kDegreesToRadians;
    double h = 0.0;
    double xyz[3];
    conv(&lat, &lon, &h, &xyz[0], &xyz[1], &xyz[2], 2);
    if (hasPrevious_) {
        const double dx = xyz[0] - previousXyz_[0];
        const double dy = xyz[1] - previousXyz_[1];
        const double dz = xyz[2] - previousXyz_[2];
        fix.step = std::sqrt(dx * dx + dy * dy + dz * dz);
        fix.first = false;
    }
    hasPrevious_ = true;
    for (int i = 0; i < 3; ++i) previousXyz_[i] = xyz[i];

    if (fix.hasHeight) {
        fix.heightAccepted = filter_.addData(fix.height, clock_, tolerance_, kFilterSamples) != 0;
        fix.filterStatus = filter_.status;
        fix.filteredHeight = filter_.output;
        ++totals_.heights;
        if (!fix.heightAccepted) ++totals_.rejectedHeights;
    }

    ++totals_.fixes;
    totals_.distance += fix.step;
    if (!totals_.hasFirst) {
        totals_.hasFirst = true;
        totals_.firstFix = fix;
    }
    totals_.lastFix = fix;
    output_->writeFix(fix);
}

}  // namespace cli
