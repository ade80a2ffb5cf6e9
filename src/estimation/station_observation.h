// One observation of the position estimator.
#ifndef QUILLON_ESTIMATION_STATION_OBSERVATION_H
#define QUILLON_ESTIMATION_STATION_OBSERVATION_H

namespace quillon::estimation {

// Kinds of observation; the values are those callers store in `type`.
enum ObservationKind {
    kSlopeRangeFromStation = 0,     // slope range from `station` to the sensor
    kHorizontalRangeDifference = 1, // horizontal range to `otherStation` minus that to `station`
    kSensorNorthing = 2,
    kSensorEasting = 3,
    kSlopeRangeFromOrigin = 4,
    kBearingFromOrigin = 5,         // degrees clockwise from north
    kBearingFromStation = 6,        // degrees clockwise from north, from `station`
    kSensorHeight = 7,
};

struct StationObservation {
    double value = 0.0;  // length unit, or degrees for bearings
    double sigma = 0.0;  // standard deviation; exactly 0.0 leaves the observation out
    int type = 0;        // an ObservationKind; any other value contributes nothing
    int otherStation = 0;
    int station = 0;
};

}  // namespace quillon::estimation

#endif
