// quillon track LOG: position fixes of an NMEA 0183 log and its summary.
#include <quillon/cpp/angles.hpp>
#include <quillon/cpp/time.hpp>
#include <quillon/cpp/track.hpp>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "command_line.h"
#include "commands.h"
#include "log_reader.h"
#include "output.h"
#include "settings.h"
#include "text_input.h"
#include "tool_platform.h"
#include "track_platform.h"
#include "track_plot.h"
#include "track_printer.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon track [OPTIONS] LOG|DEVICE|-\n"
    "\n"
    "Reads an NMEA 0183 log, verifies each sentence's checksum, decodes the\n"
    "position fixes of its GGA, GNS, RMC and GLL sentences of any talker\n"
    "(dated by RMC or ZDA), screens the heights with a median filter and\n"
    "prints one line per fix: time, latitude, longitude, the height above\n"
    "mean sea level (msl, as GGA and GNS give it), the height above the WGS 84\n"
    "ellipsoid (ellipsoid: msl plus the geoid separation, where the sentence\n"
    "gives the separation), the distance from the previous fix (step, at the\n"
    "ellipsoidal heights where both fixes have one), fix quality,\n"
    "satellites, HDOP and the filter's verdict (med5/med3: accepted as the\n"
    "median of 5+ or 3-4 recent heights; raw: not accepted). A summary ends\n"
    "the output, with the spread of the fixes about their mean (not their\n"
    "accuracy against the truth). Defects of the log are counted in the\n"
    "summary, never fatal. Times are UTC; machine-read formats write them in\n"
    "ISO 8601. Standard input and devices are read live: each fix is written\n"
    "as soon as it is complete, until the input ends or Ctrl-C.\n";

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

// Hands each fix to the printer, the statistics and the plot.
class Fan : public quillon::FixSink {
public:
    Fan(TrackPrinter* printer, quillon::TrackStatistics* statistics, TrackPlot* plot)
        : printer_(printer), statistics_(statistics), plot_(plot) {}
    void on_fix(const quillon::Fix& fix) override {
        printer_->on_fix(fix);
        statistics_->add(fix);
        if (plot_ != nullptr) plot_->add(fix);
    }

private:
    TrackPrinter* printer_;
    quillon::TrackStatistics* statistics_;
    TrackPlot* plot_;
};

// A file named on the command line is written beside itself and put in
// place whole, so a failed run never leaves half a file where a good one was.
class FileTarget {
public:
    explicit FileTarget(std::string path) : path_(std::move(path)), scratch_(path_ + ".quillon-part") {}
    ~FileTarget() {
        if (file_ != nullptr) std::fclose(file_);
        if (!done_ && file_opened_) std::remove(scratch_.c_str());
    }
    std::FILE* open() {
        file_ = openFile(scratch_, "wb");
        file_opened_ = file_ != nullptr;
        return file_;
    }
    // After the last write: false (and the old file untouched) on any error.
    bool commit() {
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (!closed || !replaceFile(scratch_, path_)) return false;
        done_ = true;
        return true;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string scratch_;
    std::FILE* file_ = nullptr;
    bool file_opened_ = false;
    bool done_ = false;
};

}  // namespace

int runTrack(int argc, char** argv) {
    bool csv = false, json = false, gpx = false, geojson = false, geojsonseq = false, kml = false, follow = false;
    std::optional<int> styleGiven;
    std::optional<int> decimalsGiven;
    std::optional<int> baud;
    std::optional<double> gap;
    std::optional<std::string> toleranceText;
    std::optional<std::string> unitsFile;
    std::optional<std::string> outputPath;
    std::optional<std::string> plotPath;
    std::optional<std::string> rolloverText;
    CommandLine args(
        "track", kHelp,
        {Option::flag("csv", "comma-separated table with lat and lon columns in degrees, heights in metres, ISO "
                             "8601 times (the summary goes to stderr)",
                      &csv),
         Option::flag("json", "one JSON object per fix, then a SUMMARY object", &json),
         Option::flag("gpx", "GPX 1.1: a track, a segment per continuous run (the summary goes to stderr)", &gpx),
         Option::flag("geojson", "GeoJSON: the fixes as points, then the track as a line (summary to stderr)",
                      &geojson),
         Option::flag("geojsonseq", "GeoJSON text sequence: one feature per line (summary to stderr)", &geojsonseq),
         Option::flag("kml", "KML: the track with a time per point, and its line (summary to stderr)", &kml),
         Option::text("output", "FILE", "write the fixes to FILE (also -o), put in place only when complete",
                      &outputPath),
         Option::text("plot", "FILE", "also draw the fixes into FILE, an SVG picture", &plotPath),
         Option::text("rollover-after", "DATE",
                      "move dates before DATE (2019-04-07) on by 1024-week periods: GPS week rollover repair",
                      &rolloverText),
         Option::number("gap", "SECONDS", "a longer time step is a gap and starts a new segment (default 10)", &gap),
         Option::whole("baud", "N", 1, 4000000, "set a serial device up: raw bytes at N bit/s", &baud),
         Option::flag("follow", "keep reading a growing log, as tail -f does, until Ctrl-C", &follow),
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
    args.exclusive({"csv", "json", "gpx", "geojson", "geojsonseq", "kml"});
    // -o, the short name everyone types for the output file.
    std::vector<char*> spelled(argv, argv + argc);
    static char kOutput[] = "--output";
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(spelled[std::size_t(i)], "-o") == 0) spelled[std::size_t(i)] = kOutput;
        else if (std::strcmp(spelled[std::size_t(i)], "--") == 0) break;
    if (const auto status = args.parse(argc, spelled.data())) return *status;
    if (args.positionals().size() != 1) return args.usageError("needs one log file, or '-' for standard input");
    if (gap && !(*gap > 0.0)) return args.badValue("gap", shortestText(*gap));
    double rolloverAfter = 0.0;
    if (rolloverText) {
        const quillon::Result<double> read = quillon::read_iso_time(*rolloverText);
        if (!read) return args.usageError("--rollover-after takes an ISO 8601 date such as 2019-04-07, not '" +
                                          *rolloverText + "'");
        rolloverAfter = *read;
    }

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
    const bool device = path != "-" && isTerminalPath(path);
    if (baud) {
        if (!device) return inputError("track", path + ": --baud is for a serial device, and this is none");
        // The reader's own stream: a serial port on Windows opens only once.
        const std::string problem = setUpSerial(reader.stream(), *baud);
        if (!problem.empty()) return inputError("track", path + ": " + problem);
    }
    // Pipes, terminals and devices are read as they come; a regular file on
    // standard input is read as any file.
    const bool live = device || (path == "-" && !isRegularStream(stdin));
    if (live || follow) {
        reader.setLive(follow);
        catchInterrupt();
    }

    std::optional<FileTarget> target;
    std::FILE* stream = stdout;
    if (outputPath) {
        target.emplace(*outputPath);
        stream = target->open();
        if (stream == nullptr) return inputError("track", "cannot write " + *outputPath + ": " + std::strerror(errno));
    }
    const Format format = csv          ? Format::kCsv
                          : json       ? Format::kJson
                          : gpx        ? Format::kGpx
                          : geojson    ? Format::kGeoJson
                          : geojsonseq ? Format::kGeoJsonSeq
                          : kml        ? Format::kKml
                                       : Format::kText;
    bool failed = false;
    int status = kSuccess;
    {
        Output out(stream);
        Output err(stderr);
        TrackLayout layout;
        layout.format = format;
        layout.style = style;
        layout.decimals = decimals;
        layout.units = settings.units;
        layout.gapSeconds = gap.value_or(10.0);
        layout.flushEachFix = live || follow;
        layout.name = source;
        TrackPrinter printer(&out, layout);
        if (!printer.ready()) return inputError("track", "cannot make a scratch file for the track's line");
        quillon::TrackStatistics statistics(layout.gapSeconds);
        std::optional<TrackPlot> plot;
        if (plotPath) plot.emplace(layout);
        Fan fan(&printer, &statistics, plot ? &*plot : nullptr);
        quillon::TrackOptions options;
        options.tolerance = tolerance;
        options.rollover_after = rolloverAfter;
        // Live fixes go out at once, dated or not.
        if (layout.flushEachFix) options.hold_undated = 0;
        quillon::TrackDecoder decoder(fan, options);
        Progress progress(path);

        printer.writeHeader();
        if (layout.flushEachFix) out.flush();
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
        std::string readProblem;
        // A receiver has no end: a device that stops giving bytes without
        // an interrupt is gone (unplugged, hung up).
        if (reader.failed() || (device && !interrupted()))
            readProblem = device ? source + ": the device stopped answering (unplugged?)"
                                 : source + ":" + std::to_string(reader.lineNumber() + 1) + ": read error";
        printer.writeEnd(source, {&decoder.counts(), &decoder.types(), &decoder.totals(), statistics.figures()}, &err);
        err.flush();
        failed = !out.flush();
        if (!readProblem.empty()) status = inputError("track", readProblem);
        if (plot) {
            FileTarget picture(*plotPath);
            std::FILE* file = picture.open();
            bool written = file != nullptr;
            if (written) {
                Output svg(file);
                plot->write(svg, statistics.figures(), source);
                written = svg.flush();
            }
            if (!(written && picture.commit())) status = inputError("track", "cannot write the picture " + *plotPath);
        }
    }
    if (failed) return inputError("track", outputPath ? "cannot write " + *outputPath : "cannot write the output");
    if (target && !target->commit()) return inputError("track", "cannot write " + *outputPath);
    return status;
}

}  // namespace cli
