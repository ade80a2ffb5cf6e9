// quillon track LOG: position fixes of an NMEA 0183 log and its summary.
#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/track.hpp>

#include <cstdio>

#include "command_line.h"
#include "commands.h"
#include "log_reader.h"
#include "output.h"
#include "settings.h"
#include "text_input.h"
#include "tool_platform.h"
#include "track_printer.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon track [OPTIONS] LOG|-\n"
    "\n"
    "Reads an NMEA 0183 log, verifies each sentence's checksum, decodes the\n"
    "position fixes of its GGA, RMC and GLL sentences (dated by RMC or ZDA),\n"
    "screens the heights with a median filter and prints one line per fix:\n"
    "time, latitude, longitude, height, distance from the previous fix, fix\n"
    "quality, satellites and the filter's verdict (med5/med3: accepted as the\n"
    "median of 5+ or 3-4 recent heights; raw: not accepted). A summary ends\n"
    "the output. Defects of the log are counted in the summary, never fatal.\n";

// A bar on standard error for logs large enough to take a while.
class Progress {
public:
    Progress(const std::string& path) {
        const long long size = path == "-" ? -1 : regularFileSize(path);
        if (size > kShowAbove && isTerminal(stderr)) total_ = size;
    }
    void update(long long done) {
        if (total_ <= 0 || done < next_) return;
        next_ = done + total_ / 100;
        const int percent = int(done * 100 / total_);
        // quillon track: [################........................]  40%
        bar_.text("\rquillon track: [");
        for (int i = 0; i < 40; ++i) bar_.ch(i < percent * 40 / 100 ? '#' : '.');
        bar_.text("] ").text(percent < 10 ? "  " : percent < 100 ? " " : "").integer(percent).ch('%').flush();
        drawn_ = true;
    }
    void clear() {
        if (drawn_) bar_.ch('\r').column("", 60).ch('\r').flush();
    }

private:
    static constexpr long long kShowAbove = 4LL << 20;
    Output bar_{stderr};
    long long total_ = 0;
    long long next_ = 0;
    bool drawn_ = false;
};

}  // namespace

int runTrack(int argc, char** argv) {
    bool csv = false;
    bool json = false;
    std::optional<int> styleGiven;
    std::optional<int> decimalsGiven;
    std::optional<std::string> toleranceText;
    std::optional<std::string> unitsFile;
    CommandLine args(
        "track", kHelp,
        {Option::flag("csv", "comma-separated table (the summary goes to stderr)", &csv),
         Option::flag("json", "one JSON object per fix, then a SUMMARY object", &json),
         Option::choice("style", {{"dms", nullptr}, {"dm", nullptr}},
                        "degrees minutes seconds, or degrees and decimal minutes (default: latLonStyle of the "
                        "settings)",
                        &styleGiven),
         Option::whole("decimals", "N", 0, 6,
                       "decimals of the seconds or minutes, 0..6 (default 3 for dms, 5 for dm)", &decimalsGiven),
         Option::length("tolerance", "LENGTH",
                        "height filter band around the median, a typed length such as '10 m' or '30ft' (default "
                        "10 m)",
                        &toleranceText)
             .saying("a positive length"),
         Option::unitsFile("units settings file (distance unit, style)", &unitsFile)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().size() != 1) return args.usageError("needs one log file, or '-' for standard input");

    SettingsFile settings;
    if (const int status = loadSettings("track", unitsFile, SettingsUse::kRead, &settings); status != kSuccess)
        return status;
    // The words of --style are numbered as the settings' style flag.
    const quillon::AngleStyle style = quillon::angle_style(styleGiven.value_or(settings.units.lat_lon_style));
    const int decimals = decimalsGiven.value_or(style == quillon::AngleStyle::dms ? 3 : 5);
    double tolerance = 10.0;
    if (toleranceText) {
        const std::string problem = readLength(*toleranceText, settings.units.dist_units, &tolerance);
        if (!problem.empty() || !(tolerance > 0.0)) return args.badValue("tolerance", *toleranceText);
    }

    const std::string& path = args.positionals()[0];
    LogReader reader;
    if (!reader.open(path)) return inputError("track", openFailureReason(path));
    const std::string source = path == "-" ? "<stdin>" : path;

    Output out(stdout);
    Output err(stderr);
    const Format format = csv ? Format::kCsv : json ? Format::kJson : Format::kText;
    TrackPrinter printer(&out, format, style, decimals, settings.units);
    quillon::TrackDecoder decoder(printer, tolerance);
    Progress progress(path);

    printer.writeHeader();
    const char* line;
    std::size_t length;
    bool overlong;
    while (reader.next(&line, &length, &overlong)) {
        if (overlong)
            decoder.add_overlong_line(reader.lineNumber());
        else
            decoder.add_line(std::string_view(line, length), reader.lineNumber());
        if ((reader.lineNumber() & 0xFFF) == 0) progress.update(reader.bytesRead());
    }
    decoder.finish();
    progress.clear();
    if (reader.failed()) {
        out.flush();
        return inputError("track", source + ":" + std::to_string(reader.lineNumber() + 1) + ": read error");
    }
    printer.writeSummary(source, decoder.counts(), decoder.types(), decoder.totals(), &err);
    err.flush();
    if (!out.flush()) return inputError("track", "cannot write the output");
    return kSuccess;
}

}  // namespace cli
