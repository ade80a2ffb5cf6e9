// The GIS formats of the track command: GPX 1.1, GeoJSON (RFC 7946),
// GeoJSON text sequences (RFC 8142) and KML. Every one is streamed: the
// points are written as they come, and the coordinates of the line that
// follows them wait in a scratch file, so memory stays flat.
#include <cmath>
#include <limits>

#include "track_printer.h"

namespace cli {

namespace {

// What the line after the points needs of each fix.
struct Spooled {
    double longitude, latitude;
    double msl;        // NaN without a height
    double ellipsoid;  // NaN without an ellipsoidal height
    double time;       // Unix time, NaN without a date
};

constexpr double kNone = std::numeric_limits<double>::quiet_NaN();

// Text as XML character data or attribute value.
Output& xmlText(Output& o, std::string_view s) {
    for (const char c : s) {
        switch (c) {
        case '<': o.text("&lt;"); break;
        case '>': o.text("&gt;"); break;
        case '&': o.text("&amp;"); break;
        case '"': o.text("&quot;"); break;
        default:
            // Control characters have no place in XML 1.0.
            if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') o.ch('?'); else o.ch(c);
        }
    }
    return o;
}

// GPX knows five kinds of fix; RTK and the rest go into extensions. RTK
// fixed and float are differential fixes too.
const char* gpxFix(const quillon::Fix& fix) {
    switch (fix.quality) {
    case 1: return fix.has_height ? "3d" : "2d";
    case 2:
    case 4:
    case 5: return "dgps";
    case 3: return "pps";
    }
    return nullptr;
}

const char* rtkText(int quality) { return quality == 4 ? "fixed" : quality == 5 ? "float" : nullptr; }

}  // namespace

bool TrackPrinter::newSegment(const quillon::Fix& fix) {
    // A run goes on while time goes forward by no more than the gap.
    bool fresh = !inSegment_ || !fix.has_time || !hasPreviousTime_;
    const double t = fix.has_date ? fix.unix_time : fix.time_of_day;
    if (!fresh) {
        const double step = t - previousTime_;
        fresh = step < 0.0 || step > layout_.gapSeconds;
    }
    hasPreviousTime_ = fix.has_time;
    previousTime_ = t;
    return fresh;
}

void TrackPrinter::gpxPoint(const quillon::Fix& fix) {
    Output& o = *out_;
    if (newSegment(fix)) {
        if (inSegment_) o.text("</trkseg>\n");
        o.text("<trkseg>\n");
        inSegment_ = true;
    }
    // The children in the order the GPX 1.1 schema gives them: ele, time,
    // magvar, geoidheight, ..., fix, sat, hdop, ..., extensions.
    o.text("<trkpt lat=\"").fixed(fix.latitude, 9).text("\" lon=\"").fixed(fix.longitude, 9).text("\">");
    if (fix.has_height) o.text("<ele>").fixed(fix.height, 3).text("</ele>");
    char time[kIsoTimeSize];
    if (fix.has_date) o.text("<time>").text(isoTime(fix.unix_time, time)).text("</time>");
    if (fix.has_separation) o.text("<geoidheight>").fixed(fix.separation, 3).text("</geoidheight>");
    if (const char* kind = gpxFix(fix)) o.text("<fix>").text(kind).text("</fix>");
    if (fix.satellites >= 0) o.text("<sat>").integer(fix.satellites).text("</sat>");
    if (fix.hdop >= 0.0) o.text("<hdop>").shortest(fix.hdop).text("</hdop>");
    o.text("<extensions>");
    if (fix.quality >= 0) o.text("<quillon:quality>").integer(fix.quality).text("</quillon:quality>");
    if (const char* rtk = rtkText(fix.quality)) o.text("<quillon:rtk>").text(rtk).text("</quillon:rtk>");
    o.text("<quillon:filter>").text(filterText(fix)).text("</quillon:filter>");
    if (fix.has_separation)
        o.text("<quillon:ellipsoidal_height>").fixed(fix.ellipsoidal_height, 3).text("</quillon:ellipsoidal_height>");
    o.text("</extensions></trkpt>\n");
}

void TrackPrinter::geoJsonPoint(const quillon::Fix& fix) {
    Output& o = *out_;
    if (format_ == Format::kGeoJsonSeq)
        o.ch('\x1e');
    else if (features_ > 0)
        o.text(",\n");
    ++features_;
    // Positions are longitude, latitude and the height above the WGS 84
    // ellipsoid, so the MSL height goes in the properties only.
    o.text("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Point\",\"coordinates\":[").fixed(fix.longitude, 9);
    o.ch(',').fixed(fix.latitude, 9);
    if (fix.has_separation) o.ch(',').fixed(fix.ellipsoidal_height, 3);
    o.text("]},\"properties\":{\"time\":");
    char time[kIsoTimeSize];
    if (fix.has_date) o.ch('"').text(isoTime(fix.unix_time, time)).ch('"'); else o.text("null");
    o.text(",\"msl_height\":");
    if (fix.has_height) o.fixed(fix.height, 3); else o.text("null");
    o.text(",\"ellipsoidal_height\":");
    if (fix.has_separation) o.fixed(fix.ellipsoidal_height, 3); else o.text("null");
    o.text(",\"step\":");
    if (fix.first) o.text("null"); else o.fixed(fix.step, 3);
    o.text(",\"quality\":");
    if (fix.quality >= 0) o.integer(fix.quality); else o.text("null");
    o.text(",\"satellites\":");
    if (fix.satellites >= 0) o.integer(fix.satellites); else o.text("null");
    o.text(",\"hdop\":");
    if (fix.hdop >= 0.0) o.shortest(fix.hdop); else o.text("null");
    o.text(",\"filter\":\"").text(filterText(fix)).text("\"}}");
    if (format_ == Format::kGeoJsonSeq) o.newline();
    spool(fix);
}

void TrackPrinter::spool(const quillon::Fix& fix) {
    const Spooled s{fix.longitude, fix.latitude, fix.has_height ? fix.height : kNone,
                    fix.has_separation ? fix.ellipsoidal_height : kNone, fix.has_date ? fix.unix_time : kNone};
    if (std::fwrite(&s, sizeof s, 1, spool_) == 1) ++spooled_;
}

void TrackPrinter::geoJsonLine() {
    // A LineString needs two positions.
    if (spooled_ < 2) return;
    Output& o = *out_;
    if (format_ == Format::kGeoJsonSeq) o.ch('\x1e'); else o.text(",\n");
    o.text("{\"type\":\"Feature\",\"geometry\":{\"type\":\"LineString\",\"coordinates\":[");
    std::rewind(spool_);
    Spooled s;
    for (long long i = 0; i < spooled_ && std::fread(&s, sizeof s, 1, spool_) == 1; ++i)
        o.text(i > 0 ? ",[" : "[").fixed(s.longitude, 9).ch(',').fixed(s.latitude, 9).ch(']');
    o.text("]},\"properties\":{\"name\":").jsonString(layout_.name).text(",\"fixes\":").integer(spooled_).text("}}");
    if (format_ == Format::kGeoJsonSeq) o.newline();
}

void TrackPrinter::kmlEnd() {
    Output& o = *out_;
    o.text("<name>");
    xmlText(o, layout_.name).text("</name>\n");
    // Heights above sea level where every fix has one (KML's "absolute" is
    // above the geoid); on the ground otherwise.
    bool heights = true;
    long long dated = 0;
    Spooled s;
    std::rewind(spool_);
    for (long long i = 0; i < spooled_ && std::fread(&s, sizeof s, 1, spool_) == 1; ++i) {
        heights = heights && !std::isnan(s.msl);
        dated += std::isnan(s.time) ? 0 : 1;
    }
    const char* mode = heights ? "<altitudeMode>absolute</altitudeMode>" : "<altitudeMode>clampToGround</altitudeMode>";
    auto each = [this](auto write) {
        Spooled r;
        std::rewind(spool_);
        for (long long i = 0; i < spooled_ && std::fread(&r, sizeof r, 1, spool_) == 1; ++i) write(r, i);
    };
    // The track with a time per point, of the dated fixes; the line of them
    // all, for viewers that do not read gx:Track.
    char time[kIsoTimeSize];
    if (dated > 0) {
        o.text("<Placemark><name>track</name><gx:Track>").text(mode).newline();
        each([&](const Spooled& r, long long) {
            if (!std::isnan(r.time)) o.text("<when>").text(isoTime(r.time, time)).text("</when>\n");
        });
        each([&](const Spooled& r, long long) {
            if (std::isnan(r.time)) return;
            o.text("<gx:coord>").fixed(r.longitude, 9).ch(' ').fixed(r.latitude, 9).ch(' ');
            o.fixed(heights ? r.msl : 0.0, 3).text("</gx:coord>\n");
        });
        o.text("</gx:Track></Placemark>\n");
    }
    if (spooled_ >= 2) {
        o.text("<Placemark><name>line</name><LineString>").text(mode).text("<coordinates>\n");
        each([&](const Spooled& r, long long) {
            o.fixed(r.longitude, 9).ch(',').fixed(r.latitude, 9);
            if (heights) o.ch(',').fixed(r.msl, 3);
            o.newline();
        });
        o.text("</coordinates></LineString></Placemark>\n");
    }
    o.text("</Document>\n</kml>\n");
}

}  // namespace cli
