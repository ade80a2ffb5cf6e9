// quillon angle TEXT...: typed angles in every style.
#include <quillon/cpp/angles.hpp>

#include <cmath>
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
    "Reads each TEXT as a typed angle and writes it as decimal degrees (the\n"
    "number read, to all its digits), as an angle in degrees minutes seconds\n"
    "(dms) and degrees and decimal minutes (dm), and as a latitude and a\n"
    "longitude in both styles. An angle is one to three numbers, degrees,\n"
    "minutes and seconds, only the last with decimals or an exponent,\n"
    "minutes and seconds below 60, written '45 30 15.5', '45\xC2\xB0" "30\'15.5\"',\n"
    "'45d30m15.5s' or '45:30:15.5', with a sign or a hemisphere letter\n"
    "before or after: '45 30 00 N', '-45 30', 'S45.5', 'w10', '1.5E-05'.\n"
    "A letter N or S makes it a latitude, which may not pass 90 degrees; E\n"
    "or W a longitude, which may not pass 180. Rows the angle does not fit\n"
    "(a latitude beyond 90 degrees, a longitude beyond 180, an angle of 360\n"
    "or more) are written '-'.\n";

// The six texts of an angle, "" where the angle is outside what the style
// writes faithfully: the writers would reduce 370 to 10 and write a
// latitude of 95 as N00 00 00.
struct AngleTexts {
    std::string text[6];

    AngleTexts(double degrees, int dmsDecimals, int dmDecimals) {
        using quillon::AngleStyle;
        const double size = std::fabs(degrees);
        if (size < 360.0) {
            text[0] = quillon::format_angle(degrees, dmsDecimals, AngleStyle::dms);
            text[1] = quillon::format_angle(degrees, dmDecimals, AngleStyle::dm);
        }
        if (size <= 90.0) {
            text[2] = quillon::format_latitude(degrees, dmsDecimals, AngleStyle::dms);
            text[3] = quillon::format_latitude(degrees, dmDecimals, AngleStyle::dm);
        }
        if (size <= 180.0) {
            text[4] = quillon::format_longitude(degrees, dmsDecimals, AngleStyle::dms);
            text[5] = quillon::format_longitude(degrees, dmDecimals, AngleStyle::dm);
        }
    }
    // The text, or "-" with why there is none.
    std::string shown(int i) const {
        if (!text[i].empty()) return text[i];
        return i < 2 ? "-  (360 degrees or more)" : i < 4 ? "-  (beyond 90 degrees)" : "-  (beyond 180 degrees)";
    }
};

}  // namespace

int runAngle(int argc, char** argv) {
    std::optional<int> decimals;
    bool csv = false;
    bool json = false;
    CommandLine args("angle", kHelp,
                     {Option::whole("decimals", "N", 0, 6,
                                    "decimals of the seconds (dms) and minutes (dm), 0..6; default 3 and 5", &decimals),
                      Option::flag("csv", "text,degrees,dms,dm,lat_dms,lat_dm,lon_dms,lon_dm rows (empty where "
                                          "the angle does not fit)",
                                   &csv),
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
        const AngleTexts texts(degrees, dmsDecimals, dmDecimals);
        if (csv) {
            o.csvString(typed).ch(',').shortest(degrees);
            for (const std::string& t : texts.text) o.ch(',').text(t);
            o.newline();
        } else if (json) {
            static const char* const kKeys[6] = {"dms", "dm", "latDms", "latDm", "lonDms", "lonDm"};
            o.text("{\"text\":").jsonString(typed).text(",\"degrees\":").jsonShortest(degrees);
            for (int i = 0; i < 6; ++i) {
                o.text(",\"").text(kKeys[i]).text("\":");
                if (texts.text[i].empty())
                    o.text("null");
                else
                    o.jsonString(texts.text[i]);
            }
            o.text("}\n");
        } else {
            // 45 30 15.5 W = -45.504305555555554 degrees
            //   dms        - 45 30 15.500
            //   latitude   S45 30 15.500    S45 30.25833
            if (!firstBlock) o.newline();
            o.text(typed).text(" = ").shortest(degrees).text(" degrees\n");
            o.text("  dms        ").text(texts.shown(0)).newline();
            o.text("  dm         ").text(texts.shown(1)).newline();
            for (int i : {2, 4}) {
                o.text(i == 2 ? "  latitude   " : "  longitude  ");
                if (texts.text[i].empty())
                    o.text(texts.shown(i));
                else
                    o.column(texts.text[i], 17).text(texts.text[i + 1]);
                o.newline();
            }
        }
        firstBlock = false;
    }
    if (!o.flush()) return kBadInput;
    return status;
}

}  // namespace cli
