#include "track_printer.h"

#include <quillon/cpp/time.hpp>

#include <cmath>
#include <cstring>

namespace cli {

namespace {

const char* const kDecodedNames[quillon::kFixSentenceTypes] = {"GGA", "RMC", "GLL", "ZDA", "GNS"};

// Two digits, or more for a year.
char* digits(char* p, long long value, int width) {
    for (int i = width - 1; i >= 0; --i, value /= 10) p[i] = char('0' + value % 10);
    return p + width;
}

}  // namespace

const char* filterText(const quillon::Fix& fix) {
    if (!fix.has_height) return "-";
    if (!fix.height_accepted) return "raw";
    return fix.filter_status == 2 ? "med5" : "med3";
}

std::string_view fixTimeText(const quillon::Fix& fix, char* out) {
    // The text truncates to tenths: a time of 19.60 s held as 19.5999999
    // would read 19.5. Receivers state times to hundredths at most, so a
    // tenth of a millisecond added lifts the binary error without changing
    // any stated time.
    constexpr double kRepresentationSlack = 1e-4;
    constexpr std::size_t kSize = quillon::kMaxTimeText + 1;
    if (!fix.has_time) {
        std::memcpy(out, "-", 2);
        return std::string_view(out, 1);
    }
    if (fix.has_date) return std::string_view(out, quillon::write_time(out, kSize, fix.unix_time + kRepresentationSlack));
    // The time of day alone: the clock part of "01-02-70 13:12:42.0".
    constexpr std::size_t kDate = 9;
    const std::size_t length =
        quillon::write_time(out, kSize, quillon::kSecondsPerDay + fix.time_of_day + kRepresentationSlack);
    if (length <= kDate) return std::string_view(out, 0);
    std::memmove(out, out + kDate, length - kDate + 1);
    return std::string_view(out, length - kDate);
}

std::string_view isoTimeOfDay(double seconds, char* out) {
    // Whole milliseconds, rounded: receivers state hundredths at most.
    const long long ms = std::llround(seconds * 1000.0);
    char* p = digits(out, ms / 3600000, 2);
    *p++ = ':';
    p = digits(p, ms / 60000 % 60, 2);
    *p++ = ':';
    p = digits(p, ms / 1000 % 60, 2);
    *p++ = '.';
    p = digits(p, ms % 1000, 3);
    *p = '\0';
    return std::string_view(out, std::size_t(p - out));
}

std::string_view isoTime(double unixTime, char* out) {
    const long long ms = std::llround(unixTime * 1000.0);
    long long days = ms / 86400000;
    long long inDay = ms % 86400000;
    if (inDay < 0) {
        inDay += 86400000;
        --days;
    }
    const quillon::CivilDate date = quillon::civil_date(int(2440588 + days));
    if (date.year < 1 || date.year > 9999) {
        std::memcpy(out, "-", 2);
        return std::string_view(out, 1);
    }
    char* p = digits(out, date.year, 4);
    *p++ = '-';
    p = digits(p, date.month, 2);
    *p++ = '-';
    p = digits(p, date.day, 2);
    *p++ = 'T';
    p += isoTimeOfDay(double(inDay) / 1000.0, p).size();
    *p++ = 'Z';
    *p = '\0';
    return std::string_view(out, std::size_t(p - out));
}

TrackPrinter::TrackPrinter(Output* out, const TrackLayout& layout)
    : out_(out), format_(layout.format), layout_(layout) {
    const quillon::UnitInfo& unit = quillon::unit_info(layout.units.dist_units);
    toMeters_ = unit.to_meters;
    lengthDecimals_ = unit.decimals;
    symbol_ = unit.symbol;
    if (format_ == Format::kGeoJson || format_ == Format::kGeoJsonSeq || format_ == Format::kKml)
        spool_ = std::tmpfile();
}

TrackPrinter::~TrackPrinter() {
    if (spool_ != nullptr) std::fclose(spool_);
}

Output& TrackPrinter::length(Output& o, double meters) const { return o.fixed(meters / toMeters_, lengthDecimals_); }

void TrackPrinter::writeHeader() {
    Output& o = *out_;
    switch (format_) {
    case Format::kText: {
        // time                 latitude         longitude         msl m      ellipsoid m  step m     q  sats hdop  filter
        const std::string unit = std::string(" ") + symbol_;
        o.column("time", 21).column("latitude", 17).column("longitude", 18).column("msl" + unit, 11);
        o.column("ellipsoid" + unit, 15).column("step" + unit, 11).column("q", 3).column("sats", 5);
        o.column("hdop", 6).text("filter").newline();
        break;
    }
    case Format::kCsv:
        o.text("time,lat,lon,msl_m,ellipsoidal_m,step_m,quality,satellites,hdop,filter,filtered_msl_m,time_of_day\n");
        break;
    case Format::kGpx:
        o.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        o.text("<gpx version=\"1.1\" creator=\"quillon track\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:quillon=\"urn:quillon:track:1\" "
               "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd\">\n");
        o.text("<trk><name>");
        for (const char c : layout_.name) {
            if (c == '<') o.text("&lt;");
            else if (c == '>') o.text("&gt;");
            else if (c == '&') o.text("&amp;");
            else if (static_cast<unsigned char>(c) < 0x20) o.ch('?');
            else o.ch(c);
        }
        o.text("</name>\n");
        break;
    case Format::kGeoJson: o.text("{\"type\":\"FeatureCollection\",\"features\":[\n"); break;
    case Format::kKml:
        o.text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
        o.text("<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n");
        o.text("<Document>\n");
        break;
    case Format::kJson:
    case Format::kGeoJsonSeq: break;
    }
}

void TrackPrinter::on_fix(const quillon::Fix& fix) {
    switch (format_) {
    case Format::kText: tableRow(fix); break;
    case Format::kCsv: csvRow(fix); break;
    case Format::kJson: jsonRow(fix); break;
    case Format::kGpx: gpxPoint(fix); break;
    case Format::kGeoJson:
    case Format::kGeoJsonSeq: geoJsonPoint(fix); break;
    case Format::kKml: spool(fix); break;
    }
    if (layout_.flushEachFix) out_->flush();
}

void TrackPrinter::tableRow(const quillon::Fix& fix) {
    Output& o = *out_;
    char time[quillon::kMaxTimeText + 1];
    o.column(fixTimeText(fix, time), 21);
    o.column(std::string_view(latitudeText_, quillon::write_latitude(latitudeText_, sizeof latitudeText_, fix.latitude,
                                                                     layout_.decimals, layout_.style)),
             17);
    o.column(std::string_view(longitudeText_, quillon::write_longitude(longitudeText_, sizeof longitudeText_,
                                                                       fix.longitude, layout_.decimals, layout_.style)),
             18);
    // 03-18-20 13:28:19.6  N41 34 29.877    W093 45 02.059    278.16     247.16         1.41       2  10   1.0   med3
    o.startColumn();
    if (fix.has_height) length(o, fix.height); else o.ch('-');
    o.endColumn(11).startColumn();
    if (fix.has_separation) length(o, fix.ellipsoidal_height); else o.ch('-');
    o.endColumn(15).startColumn();
    if (fix.first) o.ch('-'); else length(o, fix.step);
    o.endColumn(11).startColumn();
    if (fix.quality >= 0) o.integer(fix.quality); else o.ch('-');
    o.endColumn(3).startColumn();
    if (fix.satellites >= 0) o.zeroPadded(fix.satellites, 2); else o.ch('-');
    o.endColumn(5).startColumn();
    if (fix.hdop >= 0.0) o.fixed(fix.hdop, 1); else o.ch('-');
    o.endColumn(6).text(filterText(fix)).newline();
}

void TrackPrinter::csvRow(const quillon::Fix& fix) {
    Output& o = *out_;
    char time[kIsoTimeSize];
    if (fix.has_date) o.text(isoTime(fix.unix_time, time));
    o.ch(',').fixed(fix.latitude, 9).ch(',').fixed(fix.longitude, 9).ch(',');
    if (fix.has_height) o.fixed(fix.height, 3);
    o.ch(',');
    if (fix.has_separation) o.fixed(fix.ellipsoidal_height, 3);
    o.ch(',');
    if (!fix.first) o.fixed(fix.step, 3);
    o.ch(',');
    if (fix.quality >= 0) o.integer(fix.quality);
    o.ch(',');
    if (fix.satellites >= 0) o.integer(fix.satellites);
    o.ch(',');
    if (fix.hdop >= 0.0) o.shortest(fix.hdop);
    o.ch(',').text(filterText(fix)).ch(',');
    if (fix.has_height) o.fixed(fix.filtered_height, 3);
    o.ch(',');
    if (fix.has_time) o.text(isoTimeOfDay(fix.time_of_day, time));
    o.newline();
}

void TrackPrinter::jsonRow(const quillon::Fix& fix) {
    Output& o = *out_;
    char time[kIsoTimeSize];
    auto number = [&o](bool has, double value, int decimals) -> Output& {
        return has ? o.fixed(value, decimals) : o.text("null");
    };
    o.text("{\"class\":\"FIX\",\"time\":");
    if (fix.has_date) o.ch('"').text(isoTime(fix.unix_time, time)).ch('"'); else o.text("null");
    o.text(",\"time_of_day\":");
    if (fix.has_time) o.ch('"').text(isoTimeOfDay(fix.time_of_day, time)).ch('"'); else o.text("null");
    o.text(",\"unix_time\":");
    number(fix.has_date, fix.unix_time, 3);
    o.text(",\"lat\":").fixed(fix.latitude, 9).text(",\"lon\":").fixed(fix.longitude, 9);
    o.text(",\"latitude\":")
        .jsonString(std::string_view(latitudeText_, quillon::write_latitude(latitudeText_, sizeof latitudeText_,
                                                                            fix.latitude, layout_.decimals,
                                                                            layout_.style)));
    o.text(",\"longitude\":")
        .jsonString(std::string_view(longitudeText_, quillon::write_longitude(longitudeText_, sizeof longitudeText_,
                                                                              fix.longitude, layout_.decimals,
                                                                              layout_.style)));
    o.text(",\"height\":");
    number(fix.has_height, fix.height, 3).text(",\"separation\":");
    number(fix.has_separation, fix.separation, 3).text(",\"ellipsoidal_height\":");
    number(fix.has_separation, fix.ellipsoidal_height, 3).text(",\"step\":");
    number(!fix.first, fix.step, 3).text(",\"quality\":");
    if (fix.quality >= 0) o.integer(fix.quality); else o.text("null");
    o.text(",\"satellites\":");
    if (fix.satellites >= 0) o.integer(fix.satellites); else o.text("null");
    o.text(",\"hdop\":");
    if (fix.hdop >= 0.0) o.shortest(fix.hdop); else o.text("null");
    o.text(",\"filter\":\"").text(filterText(fix)).text("\",\"filtered_height\":");
    number(fix.has_height, fix.filtered_height, 3).text("}\n");
}

void TrackPrinter::writeEnd(const std::string& source, const TrackReport& report, Output* elsewhere) {
    switch (format_) {
    case Format::kText:
        out_->newline();
        textSummary(*out_, source, report);
        return;
    case Format::kJson: jsonSummary(source, report); return;
    case Format::kCsv: break;
    case Format::kGpx:
        if (inSegment_) out_->text("</trkseg>\n");
        out_->text("</trk>\n</gpx>\n");
        break;
    case Format::kGeoJson:
        geoJsonLine();
        out_->text("\n]}\n");
        break;
    case Format::kGeoJsonSeq: geoJsonLine(); break;
    case Format::kKml: kmlEnd(); break;
    }
    textSummary(*elsewhere, source, report);
}

void TrackPrinter::textSummary(Output& o, const std::string& source, const TrackReport& report) const {
    const quillon::LogCounts& c = *report.counts;
    const quillon::TrackTotals& t = *report.totals;
    const quillon::SentenceTypes& types = *report.types;
    const quillon::TrackFigures& f = report.figures;
    constexpr int kLabel = 20;
    o.column("log", kLabel).text(source).newline();
    o.column("lines", kLabel).integer(c.lines).newline();
    o.column("sentences", kLabel).integer(c.sentences).newline();
    o.column("decoded", kLabel);
    for (int i = 0; i < quillon::kFixSentenceTypes; ++i)
        o.text(i > 0 ? ", " : "").text(kDecodedNames[i]).ch(' ').integer(c.decoded[i]);
    o.newline();
    o.column("other types", kLabel).integer(c.other_types).newline();
    o.column("proprietary", kLabel).integer(c.proprietary).newline();
    o.column("bad checksum", kLabel).integer(c.bad_checksum).newline();
    o.column("no checksum", kLabel).integer(c.no_checksum).newline();
    o.column("skipped", kLabel).integer(c.skipped());
    if (c.skipped() > 0) {
        o.text(" (no sentence ").integer(c.no_sentence).text(", malformed ").integer(c.malformed);
        o.text(", truncated ").integer(c.truncated).text(", cut ").integer(c.cut).text(", bad field ");
        o.integer(c.bad_field).text(", bad date ").integer(c.bad_date).text(", overlong ").integer(c.overlong);
        o.text("; first at line ").integer(c.first_skipped_line).ch(')');
    }
    o.newline();
    o.column("fixes", kLabel).integer(t.fixes).newline();
    o.column("cycles without fix", kLabel).integer(t.cycles_without_fix).newline();
    o.column("not real fixes", kLabel).integer(t.simulated + t.flagged_invalid).text(" (simulator ").integer(t.simulated);
    o.text(", flagged invalid ").integer(t.flagged_invalid).text(")\n");
    o.column("undated fixes", kLabel).integer(t.undated).newline();
    if (t.rolled_over > 0) o.column("rollover repaired", kLabel).integer(t.rolled_over).text(" fixes\n");
    o.column("time backwards", kLabel).integer(t.time_backwards).newline();
    o.column("rejected heights", kLabel).integer(t.rejected_heights).text(" of ").integer(t.heights).newline();
    o.column("total distance", kLabel);
    length(o, t.distance).ch(' ').text(symbol_).newline();
    char text[quillon::kMaxTimeText + kIsoTimeSize];
    o.column("time span", kLabel);
    if (t.has_first && t.first_fix.has_time) {
        o.text(fixTimeText(t.first_fix, text)).text(" .. ");
        o.text(fixTimeText(t.last_fix, text));
        if (t.first_fix.has_date && t.last_fix.has_date)
            o.text(" (").fixed(t.last_fix.unix_time - t.first_fix.unix_time, 1).text(" s)");
    } else {
        o.ch('-');
    }
    o.newline();
    o.column("gaps", kLabel).integer(f.gaps);
    if (f.gaps > 0) o.text(" (longest ").fixed(f.longest_gap, 1).text(" s, ").fixed(f.gap_time, 1).text(" s in all)");
    o.newline();
    o.column("by quality", kLabel);
    bool any = false;
    for (int q = 0; q < 10; ++q) {
        if (f.by_quality[q] == 0) continue;
        o.text(any ? ", " : "");
        if (q < 9) o.integer(q); else o.ch('-');
        o.ch(' ').integer(f.by_quality[q]);
        any = true;
    }
    o.text(any ? "\n" : "-\n");
    o.column("hdop", kLabel);
    if (f.hdops > 0)
        o.text("min ").shortest(f.hdop_min).text(", median ").shortest(f.hdop_median).text(", max ").shortest(f.hdop_max).newline();
    else
        o.text("-\n");
    // The spread: how the fixes scatter about their own mean, which says
    // nothing of a bias all of them share.
    o.column("mean position", kLabel);
    if (f.positions > 0) {
        o.text(std::string_view(text, quillon::write_latitude(text, sizeof text, f.mean_latitude, layout_.decimals,
                                                               layout_.style)))
            .ch(' ');
        o.text(std::string_view(text, quillon::write_longitude(text, sizeof text, f.mean_longitude, layout_.decimals,
                                                                layout_.style)));
        if (f.heights > 0) o.ch(' ').fixed(f.mean_height / toMeters_, lengthDecimals_).ch(' ').text(symbol_).text(" ellipsoidal");
    } else {
        o.ch('-');
    }
    o.newline();
    o.column("spread about mean", kLabel);
    if (f.positions > 1) {
        auto figure = [this, &o](const char* name, double meters) {
            o.text(name).ch(' ').fixed(meters / toMeters_, lengthDecimals_ + 1);
        };
        figure("sd east", f.sd_east);
        figure(", north", f.sd_north);
        if (f.heights > 1) figure(", up", f.sd_up);
        figure("; CEP50", f.cep50);
        figure(", R95", f.r95);
        figure(", 2DRMS", f.drms2);
        o.ch(' ').text(symbol_).newline();
    } else {
        o.text("-\n");
    }
    o.column("types", kLabel);
    for (int i = 0; i < types.size(); ++i)
        o.text(i > 0 ? ", " : "").text(types.entry(i).name).ch(' ').integer(types.entry(i).count);
    if (types.size() == 0) o.ch('-');
    o.newline();
}

void TrackPrinter::jsonSummary(const std::string& source, const TrackReport& report) {
    const quillon::LogCounts& c = *report.counts;
    const quillon::TrackTotals& t = *report.totals;
    const quillon::SentenceTypes& types = *report.types;
    const quillon::TrackFigures& f = report.figures;
    Output& o = *out_;
    o.text("{\"class\":\"SUMMARY\",\"log\":").jsonString(source);
    o.text(",\"lines\":").integer(c.lines).text(",\"sentences\":").integer(c.sentences);
    o.text(",\"decoded\":{");
    for (int i = 0; i < quillon::kFixSentenceTypes; ++i)
        o.text(i > 0 ? "," : "").jsonString(kDecodedNames[i]).ch(':').integer(c.decoded[i]);
    o.text("},\"other_types\":").integer(c.other_types).text(",\"proprietary\":").integer(c.proprietary);
    o.text(",\"bad_checksum\":").integer(c.bad_checksum).text(",\"no_checksum\":").integer(c.no_checksum);
    o.text(",\"skipped\":{\"total\":").integer(c.skipped()).text(",\"no_sentence\":").integer(c.no_sentence);
    o.text(",\"malformed\":").integer(c.malformed).text(",\"truncated\":").integer(c.truncated);
    o.text(",\"cut\":").integer(c.cut).text(",\"bad_field\":").integer(c.bad_field);
    o.text(",\"bad_date\":").integer(c.bad_date).text(",\"overlong\":").integer(c.overlong);
    o.text(",\"first_line\":").integer(c.first_skipped_line).ch('}');
    o.text(",\"fixes\":").integer(t.fixes).text(",\"cycles_without_fix\":").integer(t.cycles_without_fix);
    o.text(",\"simulated\":").integer(t.simulated).text(",\"flagged_invalid\":").integer(t.flagged_invalid);
    o.text(",\"undated\":").integer(t.undated).text(",\"rolled_over\":").integer(t.rolled_over);
    o.text(",\"time_backwards\":").integer(t.time_backwards);
    o.text(",\"heights\":").integer(t.heights).text(",\"rejected_heights\":").integer(t.rejected_heights);
    o.text(",\"distance\":").fixed(t.distance, 3);
    char text[kIsoTimeSize];
    auto time = [&o, &text](const quillon::Fix& fix) {
        if (fix.has_date) o.ch('"').text(isoTime(fix.unix_time, text)).ch('"'); else o.text("null");
    };
    o.text(",\"first\":");
    if (t.has_first) time(t.first_fix); else o.text("null");
    o.text(",\"last\":");
    if (t.has_first) time(t.last_fix); else o.text("null");
    o.text(",\"span\":");
    if (t.has_first && t.first_fix.has_date && t.last_fix.has_date)
        o.fixed(t.last_fix.unix_time - t.first_fix.unix_time, 3);
    else
        o.text("null");
    o.text(",\"gaps\":").integer(f.gaps).text(",\"longest_gap\":").fixed(f.longest_gap, 3);
    o.text(",\"gap_time\":").fixed(f.gap_time, 3);
    o.text(",\"by_quality\":{");
    bool any = false;
    for (int q = 0; q < 10; ++q) {
        if (f.by_quality[q] == 0) continue;
        o.text(any ? ",\"" : "\"").text(q < 9 ? std::string(1, char('0' + q)) : "none").text("\":").integer(f.by_quality[q]);
        any = true;
    }
    o.text("},\"hdop\":");
    if (f.hdops > 0) {
        o.text("{\"min\":").shortest(f.hdop_min).text(",\"median\":").shortest(f.hdop_median);
        o.text(",\"max\":").shortest(f.hdop_max).ch('}');
    } else {
        o.text("null");
    }
    // Spread about the mean, in metres: not an accuracy against the truth.
    o.text(",\"spread_about_mean\":");
    if (f.positions > 0) {
        o.text("{\"fixes\":").integer(f.positions).text(",\"lat\":").fixed(f.mean_latitude, 9);
        o.text(",\"lon\":").fixed(f.mean_longitude, 9).text(",\"ellipsoidal_height\":");
        if (f.heights > 0) o.fixed(f.mean_height, 4); else o.text("null");
        o.text(",\"sd_east\":").fixed(f.sd_east, 4).text(",\"sd_north\":").fixed(f.sd_north, 4);
        o.text(",\"sd_up\":");
        if (f.heights > 1) o.fixed(f.sd_up, 4); else o.text("null");
        o.text(",\"cep50\":").fixed(f.cep50, 4).text(",\"r95\":").fixed(f.r95, 4);
        o.text(",\"drms2\":").fixed(f.drms2, 4).ch('}');
    } else {
        o.text("null");
    }
    o.text(",\"types\":{");
    for (int i = 0; i < types.size(); ++i)
        o.text(i > 0 ? "," : "").jsonString(types.entry(i).name).ch(':').integer(types.entry(i).count);
    o.text("}}\n");
}

}  // namespace cli
