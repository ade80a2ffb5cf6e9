// The position-fix content of the four sentence types the track command
// decodes (GGA, RMC, GLL, ZDA), read from fields that breakFields cut out.
#ifndef QUILLON_CLI_NMEA_FIELDS_H
#define QUILLON_CLI_NMEA_FIELDS_H

namespace cli {

enum class FixSentence { kGga, kRmc, kGll, kZda };

// Rows as breakFields fills them: 30 wide characters each.
using FieldRow = wchar_t[30];

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

// fields[0] is the address ("$GPGGA"); count as breakFields returned it.
DecodeResult decodeFixSentence(FixSentence type, const FieldRow* fields, int count, FixReport* report);

}  // namespace cli

#endif
