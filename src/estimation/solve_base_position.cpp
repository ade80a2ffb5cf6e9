// The estimator in the hosts' terms (their station record, the observation
// record with integer kinds, northing before easting) over
// quillon::solve_position; it stays internal, as no host calls it.
#include "estimation/solve_base_position.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <vector>

#include "quillon/cpp/estimation.hpp"

namespace quillon::estimation {

namespace {

bool usesStation(int type) {
    return type == kSlopeRangeFromStation || type == kHorizontalRangeDifference || type == kBearingFromStation;
}

// Any int is a valid ObservationKind value; one outside 0..7 is no kind and
// contributes nothing, as the type field promises.
quillon::Observation toObservation(const StationObservation& ob) {
    quillon::Observation o;
    o.kind = static_cast<quillon::ObservationKind>(ob.type);
    o.value = ob.value;
    o.sigma = ob.sigma;
    return o;
}

quillon::Station toStation(const CalcBaseStation& s) { return {s.x, s.y, s.z}; }

quillon::Platform toPlatform(double heading, double pitch, double roll, const double* offset) {
    quillon::Platform platform;
    platform.heading = heading;
    platform.pitch = pitch;
    platform.roll = roll;
    std::copy(offset, offset + 3, platform.offset);
    return platform;
}

}  // namespace

int solveBasePosition(double* y, double* x, double* z, double heading, double pitch, double roll,
                      const StationObservation* observations, int count, const double* offset,
                      const CalcBaseStation* stations, int n) {
    // The stations array has no length: it reaches as far as the highest
    // index an observation uses, and only the observations that are used
    // (a non-zero sigma) may be trusted to hold meaningful indexes.
    std::size_t used = 0;
    for (int k = 0; k < count; ++k) {
        const StationObservation& ob = observations[k];
        if (ob.sigma == 0.0 || !usesStation(ob.type)) continue;
        const bool both = ob.type == kHorizontalRangeDifference;
        if (ob.station < 0 || (both && ob.otherStation < 0)) return 0;
        used = std::max(used, static_cast<std::size_t>(ob.station) + 1);
        if (both) used = std::max(used, static_cast<std::size_t>(ob.otherStation) + 1);
    }
    try {
        std::vector<quillon::Station> known(used);
        std::transform(stations, stations + used, known.begin(), toStation);
        std::vector<quillon::Observation> made(count > 0 ? static_cast<std::size_t>(count) : 0);
        for (std::size_t k = 0; k < made.size(); ++k) {
            made[k] = toObservation(observations[k]);
            if (observations[k].sigma == 0.0 || !usesStation(observations[k].type)) continue;
            made[k].station = static_cast<std::size_t>(observations[k].station);
            if (observations[k].type == kHorizontalRangeDifference)
                made[k].other_station = static_cast<std::size_t>(observations[k].otherStation);
        }
        const auto solution =
            quillon::solve_position(known.data(), known.size(), made.data(), made.size(),
                                    toPlatform(heading, pitch, roll, offset), quillon::Position{*x, *y, *z}, n);
        if (!solution) return 0;
        *x = solution->position.easting;
        *y = solution->position.northing;
        if (n == 3) *z = solution->position.height;
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

double observationResidual(const StationObservation& observation, double y, double x, double z, double heading,
                           double pitch, double roll, const double* offset, const CalcBaseStation* stations) {
    // Only the stations the kind uses are read, into slots of their own.
    quillon::Station used[2];
    quillon::Observation o = toObservation(observation);
    if (usesStation(observation.type)) {
        used[0] = toStation(stations[observation.station]);
        o.station = 0;
    }
    if (observation.type == kHorizontalRangeDifference) {
        used[1] = toStation(stations[observation.otherStation]);
        o.other_station = 1;
    }
    return quillon::observation_residual(o, used, 2, toPlatform(heading, pitch, roll, offset),
                                         quillon::Position{x, y, z});
}

}  // namespace quillon::estimation
