// quillon angle TEXT...: typed angles in every style.
#include <quillon/angles.h>

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
    "'w10', '12.5') and writes it as decimal degrees, as an angle in\n"
    "degrees minutes seconds (dms) and degrees and decimal minutes (dm),\n"
    "and as a latitude and a longitude in both styles.\n";

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
        const std::wstring text = fromUtf8(typed);
        int stop = 0;
        const double degrees = parseStrToAng(text.c_str(), &stop);
        const std::string problem = unreadPart(text, stop);
        if (!problem.empty()) {
            o.flush();
            status = inputError("angle", "'" + typed + "': " + problem);
            continue;
        }
        // Texts: "  45 30 15.500", "  45 30.25833", "N45 30 15.500", "E045 30 15.500"
        wchar_t texts[6][32];
        angToStr(texts[0], degrees, dmsDecimals, 0);
        angToStr(texts[1], degrees, dmDecimals, 1);
        latToStr(texts[2], degrees, dmsDecimals, 0);
        latToStr(texts[3], degrees, dmDecimals, 1);
        lonToStr(texts[4], degrees, dmsDecimals, 0);
        lonToStr(texts[5], degrees, dmDecimals, 1);
        if (csv) {
            o.csvString(typed.c_str()).ch(',').fixed(degrees, 9);
            for (const auto& t : texts) o.ch(',').wide(t);
            o.newline();
        } else if (json) {
            static const char* const kKeys[6] = {"dms", "dm", "latDms", "latDm", "lonDms", "lonDm"};
            o.text("{\"text\":").jsonString(typed.c_str()).text(",\"degrees\":").jsonFixed(degrees, 9);
            for (int i = 0; i < 6; ++i) o.text(",\"").text(kKeys[i]).text("\":").jsonWide(texts[i]);
            o.text("}\n");
        } else {
            if (!firstBlock) o.newline();
            o.text(typed).text(" = ").fixed(degrees, 9).text(" degrees\n");
            o.text("  dms        ").wide(texts[0]).newline();
            o.text("  dm         ").wide(texts[1]).newline();
            o.text("  latitude   ").wideColumn(texts[2], 17).wide(texts[3]).newline();
            o.text("  longitude  ").wideColumn(texts[4], 17).wide(texts[5]).newline();
        }
        firstBlock = false;
    }
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace cli
