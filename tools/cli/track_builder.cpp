#include "track_builder.h"

#include <quillon/cpp/time.hpp>

#include <cmath>

namespace cli {

namespace {

constexpr double kDegreesToRadians = 3.141592653589793 / 180.0;
constexpr double kDay = quillon::kSecondsPerDay;
// The filter's sample window and the most samples in one median, 20 each,
// and the largest age of a sample in a median, 500 s: the hosts' defaults.
constexpr int kFilterSamples = 20;
constexpr double kFilterGate = 500.0;

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

TrackBuilder::TrackBuilder(FixOutput* output, double tolerance)
    : output_(output), tolerance_(tolerance), filter_(kFilterSamples, kFilterGate) {}

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
        midnight_ = quillon::unix_time({report.year, report.month, report.day, 0, 0, 0.0});
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
    const quillon::Geocentric xyz =
        quillon::to_geocentric({fix.latitude * kDegreesToRadians, fix.longitude * kDegreesToRadians, 0.0});
    if (hasPrevious_) {
        const double dx = xyz.x - previous_.x;
        const double dy = xyz.y - previous_.y;
        const double dz = xyz.z - previous_.z;
        fix.step = std::sqrt(dx * dx + dy * dy + dz * dz);
        fix.first = false;
    }
    hasPrevious_ = true;
    previous_ = xyz;

    if (fix.hasHeight) {
        const quillon::SampleOutcome outcome = filter_.add(fix.height, clock_, tolerance_, kFilterSamples);
        fix.heightAccepted = outcome.accepted;
        fix.filterStatus = outcome.status;
        fix.filteredHeight = outcome.output;
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
