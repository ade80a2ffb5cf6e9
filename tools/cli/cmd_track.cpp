// quillon track LOG: position fixes of an NMEA 0183 log and its summary.
#include <quillon/units.h>

#include <cstdio>

#include "command_line.h"
#include "commands.h"
#include "log_reader.h"
#include "numbers.h"
#include "output.h"
#include "sentence_scanner.h"
#include "settings.h"
#include "text_input.h"
#include "tool_platform.h"
#include "track_builder.h"
#include "track_printer.h"

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
    "the output. Defects of the log are counted in the summary, never fatal.\n"
    "\n"
    "options:\n"
    "  --csv              comma-separated table (the summary goes to stderr)\n"
    "  --json             one JSON object per fix, then a SUMMARY object\n"
    "  --style dms|dm     degrees minutes seconds, or degrees and decimal\n"
    "                     minutes (default: latLonStyle of the settings)\n"
    "  --decimals N       decimals of the seconds or minutes, 0..6\n"
    "                     (default 3 for dms, 5 for dm)\n"
    "  --tolerance LENGTH height filter band around the median, a typed\n"
    "                     length such as '10 m' or '30ft' (default 10 m)\n"
    "  --units FILE       units settings file (distance unit, style)\n";

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
    CommandLine args("track", argc, argv, 1,
                     {{"csv", false}, {"json", false}, {"style", true}, {"decimals", true}, {"tolerance", true}});
    if (!args.ok()) return usageError("track", args.error());
    if (args.wantsHelp()) return printHelp(kHelp);
    if (args.positionals().size() != 1) return usageError("track", "needs one log file, or '-' for standard input");
    if (args.has("csv") && args.has("json")) return usageError("track", "--csv and --json exclude each other");

    int style = -1;
    if (args.has("style")) {
        const std::string s = args.value("style");
        if (s == "dms")
            style = 0;
        else if (s == "dm")
            style = 1;
        else
            return usageError("track", "--style takes dms or dm, not '" + s + "'");
    }
    int decimals = -1;
    if (args.has("decimals") && (!parseInt(args.value("decimals"), &decimals) || decimals < 0 || decimals > 6))
        return usageError("track", "--decimals takes a whole number 0..6, not '" + args.value("decimals") + "'");

    SettingsFile settings;
    if (const int status = loadSettings(args, SettingsUse::kRead, &settings); status != kSuccess) return status;
    if (style < 0) style = getLatLonStyle() != 0 ? 1 : 0;
    if (decimals < 0) decimals = style == 0 ? 3 : 5;
    double tolerance = 10.0;
    if (args.has("tolerance")) {
        const std::wstring typed = fromUtf8(args.value("tolerance"));
        int stop = 0;
        tolerance = parseStrToUnit(typed.c_str(), &stop, getUnits()->distUnits);
        if (!(tolerance > 0.0))
            return usageError("track", "--tolerance takes a positive length, not '" + args.value("tolerance") + "'");
    }

    const std::string& path = args.positionals()[0];
    LogReader reader;
    if (!reader.open(path)) return inputError("track", openFailureReason(path));
    const std::string source = path == "-" ? "<stdin>" : path;

    Output out(stdout);
    Output err(stderr);
    const Format format = args.has("csv") ? Format::kCsv : args.has("json") ? Format::kJson : Format::kText;
    TrackPrinter printer(&out, format, style, decimals);
    TrackBuilder builder(&printer, tolerance);
    SentenceScanner scanner(&builder);
    Progress progress(path);

    printer.writeHeader();
    const char* line;
    std::size_t length;
    bool overlong;
    while (reader.next(&line, &length, &overlong)) {
        if (overlong)
            scanner.overlongLine(reader.lineNumber());
        else
            scanner.scanLine(line, length, reader.lineNumber());
        if ((reader.lineNumber() & 0xFFF) == 0) progress.update(reader.bytesRead());
    }
    builder.finish();
    progress.clear();
    if (reader.failed()) {
        out.flush();
        return inputError("track", source + ":" + std::to_string(reader.lineNumber() + 1) + ": read error");
    }
    printer.writeSummary(source, scanner.counts(), scanner.types(), builder.totals(), &err);
    err.flush();
    if (!out.flush()) return inputError("track", "cannot write the output");
    return kSuccess;
}

}  // namespace cli
