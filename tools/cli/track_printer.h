// Writes the fixes and the summary of the track command: a table for
// people, and CSV, JSON lines, GPX, GeoJSON, GeoJSON text sequences and KML
// for programs. Machine-read formats carry degrees, metres and ISO 8601 UTC
// times; the table carries the texts of the user's settings.
#ifndef QUILLON_CLI_TRACK_PRINTER_H
#define QUILLON_CLI_TRACK_PRINTER_H

#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/track.hpp>
#include <quillon/cpp/units.hpp>

#include <cstdio>
#include <string>

#include "output.h"

namespace cli {

enum class Format { kText, kCsv, kJson, kGpx, kGeoJson, kGeoJsonSeq, kKml };

struct TrackLayout {
    Format format = Format::kText;
    quillon::AngleStyle style = quillon::AngleStyle::dms;
    int decimals = 3;           // of the last component of the latitude and longitude texts
    quillon::Units units;       // heights and distances of the table and summary in its distance unit
    double gapSeconds = 10.0;   // a longer time step starts a new GPX segment
    bool flushEachFix = false;  // live input: each fix reaches the reader as soon as it is complete
    std::string name;           // the log's name, for the files that carry one
};

// What the summary reports besides the decoder's counts.
struct TrackReport {
    const quillon::LogCounts* counts;
    const quillon::SentenceTypes* types;
    const quillon::TrackTotals* totals;
    quillon::TrackFigures figures;
};

class TrackPrinter : public quillon::FixSink {
public:
    TrackPrinter(Output* out, const TrackLayout& layout);
    ~TrackPrinter() override;
    TrackPrinter(const TrackPrinter&) = delete;
    TrackPrinter& operator=(const TrackPrinter&) = delete;

    // False when the format needs a scratch file and none could be made.
    bool ready() const {
        return spool_ != nullptr || !(format_ == Format::kGeoJson || format_ == Format::kGeoJsonSeq || format_ == Format::kKml);
    }
    void writeHeader();
    void on_fix(const quillon::Fix& fix) override;
    // Ends what the fixes began (the track line, the closing elements) and
    // writes the summary: on the output for the table and JSON, on
    // `elsewhere` (the error stream) for the other formats, so that their
    // files stay clean.
    void writeEnd(const std::string& source, const TrackReport& report, Output* elsewhere);
    // The summary as the table writes it.
    void textSummary(Output& o, const std::string& source, const TrackReport& report) const;

private:
    void tableRow(const quillon::Fix& fix);
    void csvRow(const quillon::Fix& fix);
    void jsonRow(const quillon::Fix& fix);
    void gpxPoint(const quillon::Fix& fix);
    void geoJsonPoint(const quillon::Fix& fix);
    void spool(const quillon::Fix& fix);
    void geoJsonLine();
    void kmlEnd();
    void jsonSummary(const std::string& source, const TrackReport& report);
    // Heights and distances in the distance unit, as a number.
    Output& length(Output& o, double meters) const;
    bool newSegment(const quillon::Fix& fix);

    Output* out_;
    Format format_;
    TrackLayout layout_;
    double toMeters_;
    int lengthDecimals_;
    const char* symbol_;
    std::FILE* spool_ = nullptr;  // the fixes' coordinates, for the line written after the points
    long long spooled_ = 0;
    long long features_ = 0;
    bool inSegment_ = false;
    bool hasPreviousTime_ = false;
    double previousTime_ = 0.0;
    char latitudeText_[quillon::kMaxLengthText + 1];
    char longitudeText_[quillon::kMaxLengthText + 1];
};

// "07-15-21 13:12:42.0" with the date, "13:12:42.0" without one, "-"
// without a time; out holds quillon::kMaxTimeText + 1.
std::string_view fixTimeText(const quillon::Fix& fix, char* out);
// ISO 8601 UTC to the millisecond, "2019-04-12T00:39:57.000Z", into out
// (kIsoTimeSize bytes with the terminating zero).
constexpr std::size_t kIsoTimeSize = 32;
std::string_view isoTime(double unixTime, char* out);
// The time of day alone, "00:39:57.000".
std::string_view isoTimeOfDay(double seconds, char* out);
// The filter's verdict: "med5", "med3", "raw", or "-" without a height.
const char* filterText(const quillon::Fix& fix);

}  // namespace cli

#endif
