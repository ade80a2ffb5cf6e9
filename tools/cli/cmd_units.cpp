// quillon units [show | set KEY VALUE]: the units settings file.
#include <quillon/cpp/units.hpp>

#include <cctype>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "numbers.h"
#include "output.h"
#include "settings.h"
#include "tool_platform.h"

namespace cli {

namespace {

const char kHelp[] =
    "usage: quillon units [show]\n"
    "       quillon units set KEY VALUE\n"
    "\n"
    "Shows the seven units settings, or changes one and saves the file.\n"
    "KEY is one of distUnits, wpUnits, latLonStyle, defaultLatHemi,\n"
    "defaultLonHemi, defaultEntry, defaultDistCalc (any case). distUnits\n"
    "and wpUnits take a unit index 0..4 or a unit name: meters (m), feet\n"
    "(ft, the international foot), US survey feet (usft), kilometers (km),\n"
    "nautical miles (nm).\n"
    "latLonStyle takes dms (0) or dm (1). The others take any whole number\n"
    "(their coding belongs to the host applications).\n";

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A unit index from "2", "feet", "ft", "usfeet", "km", ...; -1 when unknown.
int unitIndex(const std::string& text) {
    int index = 0;
    if (parseInt(text, &index)) return index >= 0 && index <= 4 ? index : -1;
    const std::string t = lower(text);
    if (t == "m" || t == "meter" || t == "meters" || t == "metre" || t == "metres") return 0;
    if (t == "ft" || t == "foot" || t == "feet") return 1;
    if (t == "usft" || t == "usfeet" || t == "us survey feet" || t == "survey feet") return 2;
    if (t == "km" || t == "kilometer" || t == "kilometers" || t == "kilometre" || t == "kilometres") return 3;
    if (t == "nm" || t == "nmi" || t == "nautical miles" || t == "nautical mile") return 4;
    return -1;
}

void describe(Output& o, std::size_t key, int value) {
    if (key <= 1) {
        if (value >= 0 && value < quillon::kUnitCount) {
            const quillon::UnitInfo& unit = quillon::unit_info(value);
            o.text(unit.name).text(" (").text(unit.symbol).ch(')');
        } else {
            o.text("not a unit: read as meters");
        }
    } else if (key == 2) {
        o.text(value == 0 ? "degrees minutes seconds (dms)" : "degrees and decimal minutes (dm)");
    }
}

int show(bool json, const SettingsFile& file) {
    const quillon::Units& units = file.units;
    Output o(stdout);
    if (json) {
        o.text("{\"file\":").jsonString(file.path.c_str());
        for (std::size_t i = 0; i < quillon::Units::kCount; ++i)
            o.text(",").jsonString(quillon::Units::key(i)).ch(':').integer(*units.setting(i));
        o.text("}\n");
        return o.flush() ? kSuccess : kBadInput;
    }
    // A file named with --units that does not exist yet shows the defaults
    // every other command would refuse to use without it.
    o.column("settings file", 17);
    if (file.path.empty())
        o.text("(none: defaults in memory)");
    else
        o.text(file.path).text(fileExists(file.path) ? "" : "  (no such file yet: the defaults; 'set' creates it)");
    o.newline();
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i) {
        const int value = *units.setting(i);
        o.column(quillon::Units::key(i), 17);
        if (i <= 2) {
            o.startColumn().integer(value).endColumn(4);
            describe(o, i, value);
        } else {
            o.integer(value);
        }
        o.newline();
    }
    return o.flush() ? kSuccess : kBadInput;
}

int set(const CommandLine& args, bool json, SettingsFile& file) {
    const auto& p = args.positionals();
    if (p.size() != 3) return args.usageError("set needs KEY and VALUE");
    std::size_t key = quillon::Units::kCount;
    for (std::size_t i = 0; i < quillon::Units::kCount; ++i)
        if (lower(p[1]) == lower(quillon::Units::key(i))) key = i;
    if (key == quillon::Units::kCount) return args.usageError("no setting named '" + p[1] + "'");
    int value = 0;
    if (key <= 1) {
        value = unitIndex(p[2]);
        if (value < 0) return inputError("units", "'" + p[2] + "' is not a unit (0..4, m, ft, usft, km, nm)");
    } else if (key == 2) {
        const std::string v = lower(p[2]);
        if (v == "dms" || v == "0")
            value = 0;
        else if (v == "dm" || v == "1")
            value = 1;
        else
            return inputError("units", "latLonStyle takes dms (0) or dm (1), not '" + p[2] + "'");
    } else if (!parseInt(p[2], &value)) {
        return inputError("units", std::string(quillon::Units::key(key)) + " takes a whole number, not '" + p[2] + "'");
    }
    if (file.path.empty()) return inputError("units", "no settings file: name one with --units FILE");
    *file.units.setting(key) = value;
    if (!file.units.save(file.path)) return inputError("units", "cannot write the settings file " + file.path);
    return show(json, file);
}

}  // namespace

int runUnits(int argc, char** argv) {
    bool json = false;
    std::optional<std::string> unitsFile;
    CommandLine args("units", kHelp,
                     {Option::flag("json", "show the settings as one JSON object", &json),
                      Option::unitsFile("the settings file (default: quillon.ini in the user's configuration "
                                        "folder); 'set' creates it when missing",
                                        &unitsFile)});
    if (const auto status = args.parse(argc, argv)) return *status;
    const auto& p = args.positionals();
    const std::string action = p.empty() ? "show" : p[0];
    if (action != "show" && action != "set") return args.usageError("unknown action '" + action + "'");
    if (action == "show" && p.size() > 1) return args.usageError("show takes no arguments");
    SettingsFile file;
    if (const int status = loadSettings("units", unitsFile, SettingsUse::kRepair, &file); status != kSuccess)
        return status;
    return action == "show" ? show(json, file) : set(args, json, file);
}

}  // namespace cli
