// quillon angle TEXT...: typed angles in every style.
#include <quillon/cpp/angles.hpp>

#include <string>

#include "command_line.h"
#include "commands.h"
#include "output.h"
#include "typed_text.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon angle [OPTIONS] TEXT...\n"
    "\n"
    "Reads each TEXT as a typed angle ('45 30 00 N', '-45 30', 'S45.5',\n"
    "'w10', '12.5': degrees, minutes and seconds, only the last with\n"
    "decimals, minutes and seconds below 60) and writes it as decimal\n"
    "degrees, as an angle in degrees minutes seconds (dms) and degrees and\n"
    "decimal minutes (dm), and as a latitude and a longitude in both styles.\n";

}  // namespace

int runAngle(int argc, char** argv) {
    std::optional<int> decimals;
    bool csv = false;
    bool json = false;
    CommandLine args("angle", kHelp,
                     {Option::whole("decimals", "N", 0, 6,
                                    "decimals of the seconds (dms) and minutes (dm), 0..6; default 3 and 5", &decimals),
                      Option::flag("csv", "text,degrees,dms,dm,lat_dms,lat_dm,lon_dms,lon_dm rows", &csv),
                      Option::flag("json", "one JSON object per text", &json)});
    if (const auto status = args.parse(argc, argv)) return *status;
    if (args.positionals().empty()) return args.usageError("needs at least one angle");
    const int dmsDecimals = decimals.value_or(3);
    const int dmDecimals = decimals.value_or(5);
    Output o(stdout);
    if (csv) o.text("text,degrees,dms,dm,lat_dms,lat_dm,lon_dms,lon_dm\n");
    int status = kSuccess;
    bool firstBlock = true;
    for (const std::string& typed : args.positionals()) {
        const quillon::Result<double> angle = quillon::read_angle(typed);
        if (!angle) {
            o.flush();
            status = inputError("angle", "'" + typed + "': " + refusal(angle.error(), typed));
            continue;
        }
        const double degrees = *angle;
        // Texts: "  45 30 15.500", "  45 30.25833", "N45 30 15.500", "E045 30 15.500"
        const std::string texts[6] = {
            quillon::format_angle(degrees, dmsDecimals, quillon::AngleStyle::dms),
            quillon::format_angle(degrees, dmDecimals, quillon::AngleStyle::dm),
            quillon::format_latitude(degrees, dmsDecimals, quillon::AngleStyle::dms),
            quillon::format_latitude(degrees, dmDecimals, quillon::AngleStyle::dm),
            quillon::format_longitude(degrees, dmsDecimals, quillon::AngleStyle::dms),
            quillon::format_longitude(degrees, dmDecimals, quillon::AngleStyle::dm),
        };
        if (csv) {
            o.csvString(typed).ch(',').fixed(degrees, 9);
            for (const std::string& t : texts) o.ch(',').text(t);
            o.newline();
        } else if (json) {
            static const char* const kKeys[6] = {"dms", "dm", "latDms", "latDm", "lonDms", "lonDm"};
            o.text("{\"text\":").jsonString(typed).text(",\"degrees\":").jsonFixed(degrees, 9);
            for (int i = 0; i < 6; ++i) o.text(",\"").text(kKeys[i]).text("\":").jsonString(texts[i]);
            o.text("}\n");
        } else {
            if (!firstBlock) o.newline();
            o.text(typed).text(" = ").fixed(degrees, 9).text(" degrees\n");
            o.text("  dms        ").text(texts[0]).newline();
            o.text("  dm         ").text(texts[1]).newline();
            o.text("  latitude   ").column(texts[2], 17).text(texts[3]).newline();
            o.text("  longitude  ").column(texts[4], 17).text(texts[5]).newline();
        }
        firstBlock = false;
    }
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace cli
