// quillon dist TEXT...: typed lengths in every unit.
#include <quillon/cpp/units.hpp>

#include <cmath>

#include "command_line.h"
#include "commands.h"
#include "output.h"
#include "settings.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon dist [OPTIONS] TEXT...\n"
    "\n"
    "Reads each TEXT as a typed length ('100', '12.5 ft', '2nm', 'N 100 m',\n"
    "'-7 km', '1e3'; units m, ft, usft, yd, km, nm; a number alone is in the\n"
    "distance unit of the settings) and writes it in meters, to all the\n"
    "digits of the number read, and in every unit.\n"
    "\n"
    "Two feet: the international foot, 0.3048 m, written 'ft', and the US\n"
    "survey foot, 1200/3937 m, written 'usft'; they differ by 2 parts in a\n"
    "million (6 mm in 3 km). Typed, 'usft' is always the US survey foot,\n"
    "while 'ft' is the US survey foot unless the distance unit of the\n"
    "settings is feet: US state plane and survey coordinates were kept in\n"
    "survey feet, and the survey applications this library serves have\n"
    "always read 'ft' that way. Type 'usft', or set the distance unit to\n"
    "feet, to leave no doubt.\n";

}  // namespace

int runDist(int argc, char** argv) {
    bool csv = false;
    bool json = false;
    std::optional<std::string> unitsFile;
    CommandLine args("dist", kHelp,
                     {Option::flag("csv", "text,meters,m,ft,usft,km,nm rows", &csv),
                      Option::flag("json", "one JSON object per text", &json),
                      Option::unitsFile("units settings file (the distance unit for bare numbers)", &unitsFile)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().empty()) return args.usageError("needs at least one length");
    SettingsFile file;
    if (const int status = loadSettings("dist", unitsFile, SettingsUse::kRead, &file); status != kSuccess)
        return status;

    Output o(stdout);
    if (csv) o.text("text,meters,m,ft,usft,km,nm\n");
    int status = kSuccess;
    bool firstBlock = true;
    for (const std::string& typed : args.positionals()) {
        double meters = 0.0;
        const std::string problem = readLength(typed, file.units.dist_units, &meters);
        if (!problem.empty()) {
            o.flush();
            status = inputError("dist", "'" + typed + "': " + problem);
            continue;
        }
        std::string in[quillon::kUnitCount];
        for (int u = 0; u < quillon::kUnitCount; ++u) {
            // The unit's symbol, so that the two feet read "ft" and "usft".
            const quillon::UnitInfo& unit = quillon::unit_info(u);
            // "" where the length in the unit passes the double range (1.7e308
            // m is 5.6e308 ft), which the writer would write as "inf".
            if (!std::isfinite(meters / unit.to_meters)) continue;
            char text[quillon::kMaxLengthText + 8];
            in[u].assign(text, quillon::write_length(text, sizeof text, meters, unit.to_meters, unit.symbol,
                                                     unit.decimals));
        }
        if (csv) {
            o.csvString(typed).ch(',').shortest(meters);
            for (const std::string& text : in) o.ch(',').text(text);
            o.newline();
        } else if (json) {
            o.text("{\"text\":").jsonString(typed).text(",\"meters\":").jsonShortest(meters);
            static const char* const kKeys[quillon::kUnitCount] = {"m", "ft", "usft", "km", "nm"};
            for (int u = 0; u < quillon::kUnitCount; ++u) {
                o.text(",\"").text(kKeys[u]).text("\":");
                in[u].empty() ? o.text("null") : o.jsonString(in[u]);
            }
            o.text("}\n");
        } else {
            // 12.5 ft = 3.8100076200152406 m
            //   meters          3.81m
            if (!firstBlock) o.newline();
            o.text(typed).text(" = ").shortest(meters).text(" m\n");
            for (int u = 0; u < quillon::kUnitCount; ++u) {
                o.text("  ").column(quillon::unit_info(u).name, 16);
                o.text(in[u].empty() ? "-  (beyond the double range)" : in[u]).newline();
            }
        }
        firstBlock = false;
    }
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace cli
