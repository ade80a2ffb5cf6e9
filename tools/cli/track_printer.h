// Writes the fixes and the summary of the track command as plain text,
// CSV or JSON lines, with latitudes, longitudes, times and distances in
// the text forms of the library and the user's units settings.
#ifndef QUILLON_CLI_TRACK_PRINTER_H
#define QUILLON_CLI_TRACK_PRINTER_H

#include <string>

#include "output.h"
#include "sentence_scanner.h"
#include "track_builder.h"

namespace cli {

enum class Format { kText, kCsv, kJson };

class TrackPrinter : public FixOutput {
public:
    // style: 0 degrees minutes seconds, 1 degrees and decimal minutes;
    // decimals of the last component, 0..6.
    TrackPrinter(Output* out, Format format, int style, int decimals);
    void writeHeader();
    void writeFix(const Fix& fix) override;
    // The summary: on the output for text and JSON, on `csvSummary` (the
    // error stream) for CSV, so that the table stays a clean table.
    void writeSummary(const std::string& source, const ScanCounts& counts, const TypeTally& types,
                      const TrackTotals& totals, Output* csvSummary);

private:
    void fixTexts(const Fix& fix);
    void textSummary(Output& o, const std::string& source, const ScanCounts& c, const TypeTally& types,
                     const TrackTotals& t);
    void jsonSummary(const std::string& source, const ScanCounts& c, const TypeTally& types, const TrackTotals& t);

    Output* out_;
    Format format_;
    int style_;
    int decimals_;
    // Texts of the fix being written.
    wchar_t time_[40];
    wchar_t latitude_[40];
    wchar_t longitude_[40];
    wchar_t height_[400];
    wchar_t step_[400];
    const char* filter_ = "";
};

// "07-15-21 13:12:42.0" with the date, "13:12:42.0" without one.
void fixTimeText(const Fix& fix, wchar_t* out);

}  // namespace cli

#endif
