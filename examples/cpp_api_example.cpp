// The C++ API: UTF-8 text, explicit state, errors as values.
#include <quillon/quillon.hpp>

#include <cstdio>

int main() {
    quillon::Units units;                     // the seven settings, all 0 (metres)
    units.dist_units = quillon::kKilometers;
    std::printf("%s\n", quillon::format_distance(1234.5678, units).c_str());  // "1.23457km"

    // A typed length, read whole or refused with a reason.
    for (const char* typed : {"2nm", "5 mi"}) {
        const quillon::Result<double> meters = quillon::read_length(typed, units.dist_units);
        if (meters)
            std::printf("%s = %.1f m\n", typed, *meters);  // "2nm = 3704.0 m"
        else
            std::printf("%s\n", meters.error().message.c_str());  // "cannot read 'mi' in '5 mi'"
    }

    // WGS 84 geocentric to geodetic; a non-convergence is a value, not a printout.
    const quillon::GeodeticSolution fix = quillon::to_geodetic({3912409.702, 2258830.795, 4487419.120});
    std::printf("%s %s %.3f m\n", quillon::format_latitude(fix.point.latitude * 57.29577951308232, 3,
                                                           quillon::AngleStyle::dms).c_str(),
                quillon::format_longitude(fix.point.longitude * 57.29577951308232, 3,
                                          quillon::AngleStyle::dms).c_str(),
                fix.point.height);  // "N45 00 00.000 E030 00 00.000 100.000 m"
    return fix.converged ? 0 : 1;
}
