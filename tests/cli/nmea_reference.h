// A deliberately small and separate reading of an NMEA log, written apart
// from the tool, that the end-to-end tests compare the tool's summary with.
#ifndef QUILLON_TESTS_CLI_NMEA_REFERENCE_H
#define QUILLON_TESTS_CLI_NMEA_REFERENCE_H

#include <map>
#include <string>
#include <vector>

struct ReferenceFix {
    std::string hhmmss;  // the time field as written
    double latitude;
    double longitude;
};

struct ReferenceLog {
    int lines = 0;
    int sentences = 0;
    int badChecksum = 0;
    std::map<std::string, int> types;  // talker removed; proprietary whole
    std::vector<ReferenceFix> fixes;   // GGA with quality above 0, in order
    std::string firstDate;             // RMC ddmmyy of the first fix
};

// Reads a log whose lines each hold one sentence.
ReferenceLog readReferenceLog(const std::string& path);

#endif
