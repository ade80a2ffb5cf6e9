#include "text/nmea_fields.h"

#include <charconv>
#include <cmath>

#include <quillon/cpp/time.hpp>

namespace quillon::nmea {

namespace {

enum class Field { kEmpty, kValue, kBad };

using Text = std::string_view;

// Longest numeric field read; a longer one is no number a receiver writes.
constexpr std::size_t kMaxNumber = 31;

// A field as a decimal number ("4807.038", "-0214.41", "545.4").
Field number(Text field, double* value) {
    if (field.empty()) return Field::kEmpty;
    if (field.size() > kMaxNumber) return Field::kBad;
    for (const char c : field)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) return Field::kBad;
    const char* end = field.data() + field.size();
    const char* begin = field[0] == '+' ? field.data() + 1 : field.data();
    const auto r = std::from_chars(begin, end, *value, std::chars_format::fixed);
    return (r.ec == std::errc() && r.ptr == end) ? Field::kValue : Field::kBad;
}

Field integer(Text field, int* value) {
    double v = 0.0;
    const Field f = number(field, &v);
    if (f != Field::kValue) return f;
    if (v != std::floor(v) || v < 0.0 || v > 1e6) return Field::kBad;
    *value = int(v);
    return Field::kValue;
}

// "hhmmss.ss" as seconds after midnight.
Field timeOfDay(Text field, double* seconds) {
    double v = 0.0;
    const Field f = number(field, &v);
    if (f != Field::kValue) return f;
    // 240000 and above is no time of day, and its hours may not fit an int.
    if (v < 0.0 || v >= 240000.0) return Field::kBad;
    const int hh = int(v / 10000.0);
    const int mm = int(v / 100.0) % 100;
    const double ss = v - hh * 10000.0 - mm * 100.0;
    if (hh > 23 || mm > 59 || ss >= 61.0) return Field::kBad;
    *seconds = hh * 3600.0 + mm * 60.0 + ss;
    return Field::kValue;
}

// "ddmm.mmmm" (or "dddmm.mmmm") with its hemisphere letter as signed
// degrees. Some firmware writes a minus sign before a western value that
// already carries "W": the letter decides the sign.
Field angle(Text value, Text hemisphere, char positive, char negative, double limit, double* degrees) {
    double v = 0.0;
    const Field f = number(value, &v);
    if (f != Field::kValue) return f;
    v = std::fabs(v);
    const double whole = std::floor(v / 100.0);
    const double minutes = v - whole * 100.0;
    if (minutes >= 60.0) return Field::kBad;
    const double d = whole + minutes / 60.0;
    if (d > limit) return Field::kBad;
    if (hemisphere == Text(&positive, 1))
        *degrees = d;
    else if (hemisphere == Text(&negative, 1))
        *degrees = -d;
    else
        return Field::kBad;
    return Field::kValue;
}

// Latitude and longitude from four consecutive fields; kEmpty when the
// fields are empty (no fix).
Field position(const Text* f, double* latitude, double* longitude) {
    const Field lat = angle(f[0], f[1], 'N', 'S', 90.0, latitude);
    const Field lon = angle(f[2], f[3], 'E', 'W', 180.0, longitude);
    if (lat == Field::kBad || lon == Field::kBad) return Field::kBad;
    if (lat == Field::kEmpty || lon == Field::kEmpty) return Field::kEmpty;
    return Field::kValue;
}

bool isBad(Field f) { return f == Field::kBad; }

// A length with its unit letter: "M" (or none) metres, "F" feet, which
// some receivers give their heights in.
Field length(Text value, Text unit, double* meters) {
    const Field f = number(value, meters);
    if (f != Field::kValue) return f;
    if (unit == "F")
        *meters *= 0.3048;
    else if (!(unit.empty() || unit == "M"))
        return Field::kBad;
    return Field::kValue;
}

// A one-letter mode indicator (RMC, GLL, and each letter of GNS): "N" no
// fix, "S" simulator; an empty field says nothing.
void readMode(Text field, FixReport* r) {
    if (field == "N") r->flaggedInvalid = true;
    if (field == "S") r->simulated = true;
}

Field ratio(Text field, double* value) {
    const Field f = number(field, value);
    if (f == Field::kValue && *value < 0.0) return Field::kBad;
    return f;
}

DecodeResult decodeGga(const Text* f, int count, FixReport* r) {
    // $--GGA,time,lat,N,lon,E,quality,sats,hdop,alt,M,sep,M,age,station
    if (count < 10) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 2, &lat, &lon);
    const Field q = integer(f[6], &r->quality);
    const Field s = integer(f[7], &r->satellites);
    const Field d = ratio(f[8], &r->hdop);
    const Field h = length(f[9], count > 10 ? f[10] : Text(), &r->height);
    const Field g = count > 11 ? length(f[11], count > 12 ? f[12] : Text(), &r->separation) : Field::kEmpty;
    if (isBad(t) || isBad(p) || isBad(q) || isBad(s) || isBad(d) || isBad(h) || isBad(g)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    if (q != Field::kValue) r->quality = -1;
    if (s != Field::kValue) r->satellites = -1;
    if (d != Field::kValue) r->hdop = -1.0;
    // Quality 0 (or none) means no fix, whatever the position fields hold.
    r->hasPosition = p == Field::kValue && r->quality > 0;
    r->simulated = r->quality == 8;
    r->latitude = lat;
    r->longitude = lon;
    r->hasHeight = r->hasPosition && h == Field::kValue;
    r->hasSeparation = r->hasPosition && g == Field::kValue;
    return DecodeResult::kDecoded;
}

// The GNS mode letters, one per constellation, ranked as a GGA quality
// would rank them; -1 for a letter that is no mode.
int modeQuality(char c) {
    switch (c) {
    case 'N': return 0;
    case 'A': return 1;
    case 'D': return 2;
    case 'P': return 3;
    case 'R': return 4;
    case 'F': return 5;
    case 'E': return 6;
    case 'M': return 7;
    case 'S': return 8;
    }
    return -1;
}

// How much a quality says about the position: RTK fixed best, then float,
// precise, differential, autonomous, estimated, manual, simulated.
int qualityRank(int quality) {
    static const int rank[9] = {0, 5, 6, 7, 9, 8, 3, 2, 1};
    return quality >= 0 && quality <= 8 ? rank[quality] : 0;
}

DecodeResult decodeGns(const Text* f, int count, FixReport* r) {
    // $--GNS,time,lat,N,lon,E,mode,sats,hdop,alt,sep,age,station[,status]
    if (count < 10) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 2, &lat, &lon);
    int quality = -1;
    for (const char c : f[6]) {
        const int q = modeQuality(c);
        if (q < 0) return DecodeResult::kBadField;
        if (qualityRank(q) > qualityRank(quality) || quality < 0) quality = q;
    }
    const Field s = integer(f[7], &r->satellites);
    const Field d = ratio(f[8], &r->hdop);
    const Field h = number(f[9], &r->height);
    const Field g = count > 10 ? number(f[10], &r->separation) : Field::kEmpty;
    if (isBad(t) || isBad(p) || isBad(s) || isBad(d) || isBad(h) || isBad(g)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    if (s != Field::kValue) r->satellites = -1;
    if (d != Field::kValue) r->hdop = -1.0;
    r->quality = quality;
    r->hasPosition = p == Field::kValue && quality > 0;
    r->simulated = quality == 8;
    r->latitude = lat;
    r->longitude = lon;
    r->hasHeight = r->hasPosition && h == Field::kValue;
    r->hasSeparation = r->hasPosition && g == Field::kValue;
    return DecodeResult::kDecoded;
}

// "A" valid, "V" warning (no usable fix); empty counts as not valid.
bool statusValid(Text field) { return field == "A"; }

bool validDate(int year, int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= days_in_month(year, month);
}

DecodeResult decodeRmc(const Text* f, int count, FixReport* r) {
    // $--RMC,time,status,lat,N,lon,E,speed,course,ddmmyy,magvar,E[,mode[,status]].
    // The navigational status of NMEA 4.10 says nothing of the fix: u-blox
    // receivers write "V" ("no status given") beside every good one.
    if (count < 10) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 3, &lat, &lon);
    int ddmmyy = 0;
    const Field d = f[9].size() <= 6 ? integer(f[9], &ddmmyy) : Field::kBad;
    if (isBad(t) || isBad(p) || isBad(d)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    r->hasPosition = p == Field::kValue && statusValid(f[2]);
    r->flaggedInvalid = f[2] == "V";
    if (count > 12) readMode(f[12], r);
    r->latitude = lat;
    r->longitude = lon;
    if (d == Field::kValue) {
        r->day = ddmmyy / 10000;
        r->month = ddmmyy / 100 % 100;
        const int yy = ddmmyy % 100;
        // Two-digit years: GPS began in 1980.
        r->year = yy >= 80 ? 1900 + yy : 2000 + yy;
        if (!validDate(r->year, r->month, r->day)) return DecodeResult::kBadDate;
        r->hasDate = true;
    }
    return DecodeResult::kDecoded;
}

DecodeResult decodeGll(const Text* f, int count, FixReport* r) {
    // $--GLL,lat,N,lon,E[,time,status[,mode]]: the oldest form stops after E.
    if (count < 5) return DecodeResult::kTruncated;
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 1, &lat, &lon);
    const Field t = count > 5 ? timeOfDay(f[5], &r->timeOfDay) : Field::kEmpty;
    if (isBad(t) || isBad(p)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    r->hasPosition = p == Field::kValue && (count < 7 || statusValid(f[6]));
    r->flaggedInvalid = count > 6 && f[6] == "V";
    if (count > 7) readMode(f[7], r);
    r->latitude = lat;
    r->longitude = lon;
    return DecodeResult::kDecoded;
}

DecodeResult decodeZda(const Text* f, int count, FixReport* r) {
    // $--ZDA,time,dd,mm,yyyy,zone hours,zone minutes
    if (count < 5) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    const Field d = integer(f[2], &r->day);
    const Field m = integer(f[3], &r->month);
    const Field y = integer(f[4], &r->year);
    if (isBad(t) || isBad(d) || isBad(m) || isBad(y)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    if (d == Field::kValue && m == Field::kValue && y == Field::kValue) {
        if (r->year < 1980 || r->year > 2200 || !validDate(r->year, r->month, r->day)) return DecodeResult::kBadDate;
        r->hasDate = true;
    }
    return DecodeResult::kDecoded;
}

}  // namespace

DecodeResult decodeFixSentence(FixSentence type, const std::string_view* fields, int count, FixReport* report) {
    *report = FixReport();
    switch (type) {
    case FixSentence::gga: return decodeGga(fields, count, report);
    case FixSentence::rmc: return decodeRmc(fields, count, report);
    case FixSentence::gll: return decodeGll(fields, count, report);
    case FixSentence::zda: return decodeZda(fields, count, report);
    case FixSentence::gns: return decodeGns(fields, count, report);
    }
    return DecodeResult::kBadField;
}

}  // namespace quillon::nmea
