// The position-fix content of the sentence types the track decoder reads
// (GGA, RMC, GLL, ZDA), read from the fields of a sentence.
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
    double height = 0.0;  // meters above mean sea level (GGA)
    int quality = -1;     // GGA fix quality, -1 when not given
    int satellites = -1;  // GGA satellites in use, -1 when not given
};

enum class DecodeResult {
    kDecoded,
    kTruncated,  // fewer fields than the type carries
    kBadField,   // a field that should hold a number or letter does not
};

// fields[0] is the address ("$GPGGA"), then the fields up to the checksum;
// count of them.
DecodeResult decodeFixSentence(FixSentence type, const std::string_view* fields, int count, FixReport* report);

}  // namespace quillon::nmea

#endif
