#include "text/nmea_fields.h"

#include <charconv>
#include <cmath>

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

DecodeResult decodeGga(const Text* f, int count, FixReport* r) {
    // $--GGA,time,lat,N,lon,E,quality,sats,hdop,alt,M,sep,M,age,station
    if (count < 10) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 2, &lat, &lon);
    const Field q = integer(f[6], &r->quality);
    const Field s = integer(f[7], &r->satellites);
    const Field h = number(f[9], &r->height);
    if (isBad(t) || isBad(p) || isBad(q) || isBad(s) || isBad(h)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    if (q != Field::kValue) r->quality = -1;
    if (s != Field::kValue) r->satellites = -1;
    // Quality 0 (or none) means no fix, whatever the position fields hold.
    r->hasPosition = p == Field::kValue && r->quality > 0;
    r->latitude = lat;
    r->longitude = lon;
    r->hasHeight = r->hasPosition && h == Field::kValue;
    return DecodeResult::kDecoded;
}

// "A" valid, "V" warning (no usable fix); empty counts as not valid.
bool statusValid(Text field) { return field == "A"; }

DecodeResult decodeRmc(const Text* f, int count, FixReport* r) {
    // $--RMC,time,status,lat,N,lon,E,speed,course,ddmmyy,magvar,E,mode
    if (count < 10) return DecodeResult::kTruncated;
    const Field t = timeOfDay(f[1], &r->timeOfDay);
    double lat = 0.0, lon = 0.0;
    const Field p = position(f + 3, &lat, &lon);
    int ddmmyy = 0;
    const Field d = f[9].size() <= 6 ? integer(f[9], &ddmmyy) : Field::kBad;
    if (isBad(t) || isBad(p) || isBad(d)) return DecodeResult::kBadField;
    r->hasTime = t == Field::kValue;
    r->hasPosition = p == Field::kValue && statusValid(f[2]);
    r->latitude = lat;
    r->longitude = lon;
    if (d == Field::kValue) {
        r->day = ddmmyy / 10000;
        r->month = ddmmyy / 100 % 100;
        const int yy = ddmmyy % 100;
        // Two-digit years: GPS began in 1980.
        r->year = yy >= 80 ? 1900 + yy : 2000 + yy;
        if (r->day < 1 || r->day > 31 || r->month < 1 || r->month > 12) return DecodeResult::kBadField;
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
        if (r->day < 1 || r->day > 31 || r->month < 1 || r->month > 12 || r->year < 1980 || r->year > 2200)
            return DecodeResult::kBadField;
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
    }
    return DecodeResult::kBadField;
}

}  // namespace quillon::nmea
