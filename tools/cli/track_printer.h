// Writes the fixes and the summary of the track command as plain text,
// CSV or JSON lines, with latitudes, longitudes, times and distances in
// the text forms of the library and the user's units settings.
#ifndef QUILLON_CLI_TRACK_PRINTER_H
#define QUILLON_CLI_TRACK_PRINTER_H

#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/track.hpp>
#include <quillon/cpp/units.hpp>

#include <string>

#include "output.h"

namespace cli {

enum class Format { kText, kCsv, kJson };

class TrackPrinter : public quillon::FixSink {
public:
    // Latitudes and longitudes in `style` with `decimals` decimals of the
    // last component (0..6); heights and distances in the distance unit of
    // `units`.
    TrackPrinter(Output* out, Format format, quillon::AngleStyle style, int decimals, const quillon::Units& units);
    void writeHeader();
    void on_fix(const quillon::Fix& fix) override;
    // The summary: on the output for text and JSON, on `csvSummary` (the
    // error stream) for CSV, so that the table stays a clean table.
    void writeSummary(const std::string& source, const quillon::LogCounts& counts, const quillon::SentenceTypes& types,
                      const quillon::TrackTotals& totals, Output* csvSummary);

private:
    void fixTexts(const quillon::Fix& fix);
    void textSummary(Output& o, const std::string& source, const quillon::LogCounts& c, const quillon::SentenceTypes& types,
                     const quillon::TrackTotals& t);
    void jsonSummary(const std::string& source, const quillon::LogCounts& c, const quillon::SentenceTypes& types, const quillon::TrackTotals& t);

    // A distance in the distance unit, into a buffer of kMaxText + 1.
    std::string_view distance(double meters, char* out) const;

    static constexpr std::size_t kMaxText = quillon::kMaxLengthText;

    Output* out_;
    Format format_;
    quillon::AngleStyle style_;
    int decimals_;
    quillon::Units units_;
    // Texts of the fix being written.
    std::string_view time_;
    std::string_view latitude_;
    std::string_view longitude_;
    std::string_view height_;
    std::string_view step_;
    char timeText_[kMaxText + 1];
    char latitudeText_[kMaxText + 1];
    char longitudeText_[kMaxText + 1];
    char heightText_[kMaxText + 1];
    char stepText_[kMaxText + 1];
    const char* filter_ = "";
};

// "07-15-21 13:12:42.0" with the date, "13:12:42.0" without one, "-"
// without a time; out holds quillon::kMaxTimeText + 1.
std::string_view fixTimeText(const quillon::Fix& fix, char* out);

}  // namespace cli

#endif
