#include "track_printer.h"

#include <quillon/cpp/time.hpp>

#include <cstring>

namespace cli {

namespace {

const char* filterText(const quillon::Fix& fix) {
    if (!fix.has_height) return "-";
    if (!fix.height_accepted) return "raw";
    return fix.filter_status == 2 ? "med5" : "med3";
}

const char* const kDecodedNames[4] = {"GGA", "RMC", "GLL", "ZDA"};

}  // namespace

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

TrackPrinter::TrackPrinter(Output* out, Format format, quillon::AngleStyle style, int decimals,
                           const quillon::Units& units)
    : out_(out), format_(format), style_(style), decimals_(decimals), units_(units) {}

std::string_view TrackPrinter::distance(double meters, char* out) const {
    return std::string_view(out, quillon::write_distance(out, kMaxText + 1, meters, units_));
}

void TrackPrinter::writeHeader() {
    Output& o = *out_;
    if (format_ == Format::kText) {
        // time                 latitude         longitude         height     step       q  sats filter
        o.column("time", 21).column("latitude", 17).column("longitude", 18).column("height", 11);
        o.column("step", 11).column("q", 3).column("sats", 5).text("filter").newline();
    } else if (format_ == Format::kCsv) {
        o.text("time,latitude,longitude,height,step,quality,satellites,filter,lat_deg,lon_deg,height_m,step_m\n");
    }
}

void TrackPrinter::fixTexts(const quillon::Fix& fix) {
    time_ = fixTimeText(fix, timeText_);
    latitude_ = std::string_view(
        latitudeText_, quillon::write_latitude(latitudeText_, sizeof latitudeText_, fix.latitude, decimals_, style_));
    longitude_ = std::string_view(longitudeText_, quillon::write_longitude(longitudeText_, sizeof longitudeText_,
                                                                           fix.longitude, decimals_, style_));
    height_ = fix.has_height ? distance(fix.height, heightText_) : "-";
    step_ = fix.first ? "-" : distance(fix.step, stepText_);
    filter_ = filterText(fix);
}

void TrackPrinter::on_fix(const quillon::Fix& fix) {
    fixTexts(fix);
    Output& o = *out_;
    // The quality as it is and the satellites as two digits at least ("08");
    // `none` where the fix has none ("-" in the table, nothing in CSV).
    auto quality = [&o, &fix](const char* none) -> Output& {
        return fix.quality >= 0 ? o.integer(fix.quality) : o.text(none);
    };
    auto satellites = [&o, &fix](const char* none) -> Output& {
        return fix.satellites >= 0 ? o.zeroPadded(fix.satellites, 2) : o.text(none);
    };
    switch (format_) {
    case Format::kText:
        // 07-15-21 13:12:42.0  N51 28 40.120    W000 00 05.310    45.40m     1.23m      1  08   med5
        o.column(time_, 21).column(latitude_, 17).column(longitude_, 18);
        o.column(height_, 11).column(step_, 11).startColumn();
        quality("-").endColumn(3).startColumn();
        satellites("-").endColumn(5).text(filter_).newline();
        break;
    case Format::kCsv:
        // 07-15-21 13:12:42.0,N51 28 40.120,W000 00 05.310,45.40m,1.23m,1,08,med5,51.477811111,-0.001475000,45.400,1.230
        o.text(time_).ch(',').text(latitude_).ch(',').text(longitude_).ch(',');
        o.text(height_).ch(',').text(fix.first ? "" : step_).ch(',');
        quality("").ch(',');
        satellites("").ch(',');
        o.text(filter_).ch(',').fixed(fix.latitude, 9).ch(',').fixed(fix.longitude, 9).ch(',');
        if (fix.has_height) o.fixed(fix.height, 3);
        o.ch(',');
        if (!fix.first) o.fixed(fix.step, 3);
        o.newline();
        break;
    case Format::kJson:
        o.text("{\"class\":\"FIX\",\"time\":").jsonString(time_).text(",\"dos\":");
        if (fix.has_date)
            o.fixed(fix.unix_time, 3);
        else
            o.text("null");
        o.text(",\"lat\":").fixed(fix.latitude, 9).text(",\"lon\":").fixed(fix.longitude, 9);
        o.text(",\"latitude\":").jsonString(latitude_).text(",\"longitude\":").jsonString(longitude_);
        o.text(",\"height\":");
        if (fix.has_height)
            o.fixed(fix.height, 3).text(",\"heightText\":").jsonString(height_);
        else
            o.text("null,\"heightText\":null");
        if (fix.first)
            o.text(",\"step\":null,\"stepText\":null");
        else
            o.text(",\"step\":").fixed(fix.step, 3).text(",\"stepText\":").jsonString(step_);
        o.text(",\"quality\":");
        if (fix.quality >= 0) o.integer(fix.quality); else o.text("null");
        o.text(",\"satellites\":");
        if (fix.satellites >= 0) o.integer(fix.satellites); else o.text("null");
        o.text(",\"filter\":").jsonString(filter_).text(",\"filtered_height\":");
        if (fix.has_height) o.fixed(fix.filtered_height, 3); else o.text("null");
        o.text("}\n");
        break;
    }
}

void TrackPrinter::writeSummary(const std::string& source, const quillon::LogCounts& counts, const quillon::SentenceTypes& types,
                                const quillon::TrackTotals& totals, Output* csvSummary) {
    switch (format_) {
    case Format::kText:
        out_->newline();
        textSummary(*out_, source, counts, types, totals);
        break;
    case Format::kCsv: textSummary(*csvSummary, source, counts, types, totals); break;
    case Format::kJson: jsonSummary(source, counts, types, totals); break;
    }
}

void TrackPrinter::textSummary(Output& o, const std::string& source, const quillon::LogCounts& c, const quillon::SentenceTypes& types,
                               const quillon::TrackTotals& t) {
    constexpr int kLabel = 20;
    o.column("log", kLabel).text(source).newline();
    o.column("lines", kLabel).integer(c.lines).newline();
    o.column("sentences", kLabel).integer(c.sentences).newline();
    o.column("decoded", kLabel);
    for (int i = 0; i < 4; ++i) o.text(i > 0 ? ", " : "").text(kDecodedNames[i]).ch(' ').integer(c.decoded[i]);
    o.newline();
    o.column("other types", kLabel).integer(c.other_types).newline();
    o.column("proprietary", kLabel).integer(c.proprietary).newline();
    o.column("bad checksum", kLabel).integer(c.bad_checksum).newline();
    o.column("no checksum", kLabel).integer(c.no_checksum).newline();
    o.column("skipped", kLabel).integer(c.skipped());
    if (c.skipped() > 0) {
        o.text(" (no sentence ").integer(c.no_sentence).text(", malformed ").integer(c.malformed);
        o.text(", truncated ").integer(c.truncated).text(", bad field ").integer(c.bad_field);
        o.text(", overlong ").integer(c.overlong).text("; first at line ").integer(c.first_skipped_line).ch(')');
    }
    o.newline();
    o.column("fixes", kLabel).integer(t.fixes).newline();
    o.column("cycles without fix", kLabel).integer(t.cycles_without_fix).newline();
    o.column("rejected heights", kLabel).integer(t.rejected_heights).text(" of ").integer(t.heights).newline();
    char text[kMaxText + 1];
    o.column("total distance", kLabel).text(distance(t.distance, text)).newline();
    o.column("time span", kLabel);
    if (t.has_first && t.first_fix.has_time) {
        o.text(fixTimeText(t.first_fix, text)).text(" .. ");
        o.text(fixTimeText(t.last_fix, text));
        if (t.first_fix.has_date && t.last_fix.has_date) o.text(" (").fixed(t.last_fix.unix_time - t.first_fix.unix_time, 1).text(" s)");
    } else {
        o.ch('-');
    }
    o.newline();
    o.column("types", kLabel);
    for (int i = 0; i < types.size(); ++i)
        o.text(i > 0 ? ", " : "").text(types.entry(i).name).ch(' ').integer(types.entry(i).count);
    if (types.size() == 0) o.ch('-');
    o.newline();
}

void TrackPrinter::jsonSummary(const std::string& source, const quillon::LogCounts& c, const quillon::SentenceTypes& types,
                               const quillon::TrackTotals& t) {
    Output& o = *out_;
    o.text("{\"class\":\"SUMMARY\",\"log\":").jsonString(source.c_str());
    o.text(",\"lines\":").integer(c.lines).text(",\"sentences\":").integer(c.sentences);
    o.text(",\"decoded\":{");
    for (int i = 0; i < 4; ++i) o.text(i > 0 ? "," : "").jsonString(kDecodedNames[i]).ch(':').integer(c.decoded[i]);
    o.text("},\"other_types\":").integer(c.other_types).text(",\"proprietary\":").integer(c.proprietary);
    o.text(",\"bad_checksum\":").integer(c.bad_checksum).text(",\"no_checksum\":").integer(c.no_checksum);
    o.text(",\"skipped\":{\"total\":").integer(c.skipped()).text(",\"no_sentence\":").integer(c.no_sentence);
    o.text(",\"malformed\":").integer(c.malformed).text(",\"truncated\":").integer(c.truncated);
    o.text(",\"bad_field\":").integer(c.bad_field).text(",\"overlong\":").integer(c.overlong);
    o.text(",\"firstLine\":").integer(c.first_skipped_line).ch('}');
    o.text(",\"fixes\":").integer(t.fixes).text(",\"cyclesWithoutFix\":").integer(t.cycles_without_fix);
    o.text(",\"heights\":").integer(t.heights).text(",\"rejected_heights\":").integer(t.rejected_heights);
    char text[kMaxText + 1];
    o.text(",\"distance\":").fixed(t.distance, 3).text(",\"distanceText\":").jsonString(distance(t.distance, text));
    o.text(",\"first\":");
    if (t.has_first)
        o.jsonString(fixTimeText(t.first_fix, text));
    else
        o.text("null");
    o.text(",\"last\":");
    if (t.has_first)
        o.jsonString(fixTimeText(t.last_fix, text));
    else
        o.text("null");
    o.text(",\"span\":");
    if (t.has_first && t.first_fix.has_date && t.last_fix.has_date)
        o.fixed(t.last_fix.unix_time - t.first_fix.unix_time, 1);
    else
        o.text("null");
    o.text(",\"types\":{");
    for (int i = 0; i < types.size(); ++i)
        o.text(i > 0 ? "," : "").jsonString(types.entry(i).name).ch(':').integer(types.entry(i).count);
    o.text("}}\n");
}

}  // namespace cli
