// The position-fix content of the sentence types the track decoder reads
// (GGA, RMC, GLL, ZDA, GNS), read from the fields of a sentence, with the
// mode and status fields that NMEA 4.10 and 4.11 receivers add.
#ifndef QUILLON_TEXT_NMEA_FIELDS_H
#define QUILLON_TEXT_NMEA_FIELDS_H

#include <quillon/cpp/track.hpp>

#include <string_view>

namespace quillon::nmea {

struct FixReport {
    bool hasTime = false;
    double timeOfDay = 0.0;  // seconds after midnight
    bool hasDate = false;
    int year = 0, month = 0, day = 0;
    bool hasPosition = false;  // a valid fix: no position from "no fix" sentences
    double latitude = 0.0;     // degrees, north positive
    double longitude = 0.0;    // degrees, east positive
    bool hasHeight = false;
    double height = 0.0;  // metres above mean sea level (GGA, GNS)
    bool hasSeparation = false;
    double separation = 0.0;  // metres of the geoid above the ellipsoid (GGA, GNS)
    int quality = -1;     // GGA fix quality (or GNS mode as one), -1 when not given
    int satellites = -1;  // satellites in use, -1 when not given
    double hdop = -1.0;   // horizontal dilution of precision, -1 when not given
    // The sentence itself says its position is no fix (status "V", mode
    // "N") or a simulated one (quality 8, mode "S").
    bool flaggedInvalid = false;
    bool simulated = false;
};

enum class DecodeResult {
    kDecoded,
    kTruncated,  // fewer fields than the type carries
    kBadField,   // a field that should hold a number or letter does not
    kBadDate,    // a date that no calendar has (February 30)
};

// fields[0] is the address ("$GPGGA"), then the fields up to the checksum;
// count of them.
DecodeResult decodeFixSentence(FixSentence type, const std::string_view* fields, int count, FixReport* report);

}  // namespace quillon::nmea

#endif
