#include "HalyardR.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "host_trace.h"

namespace {

bool rejected(unsigned int version) {
    const char* rule = std::getenv("HALYARDR_REJECT");
    if (rule == nullptr || *rule == '\0') return false;
    if (std::strcmp(rule, "*") == 0) return true;
    char* end = nullptr;
    unsigned long listed = std::strtoul(rule, &end, 0);
    return end != rule && listed == version;
}

}  // namespace

bool CheckDllVersion(unsigned int version, const char* sourcePath, const char* buildTime) {
    char line[1024];
    std::snprintf(line, sizeof line, "CheckDllVersion %u %s|%s", version, sourcePath ? sourcePath : "(null)",
                  buildTime ? buildTime : "(null)");
    hostTrace(line);
    return !rejected(version);
}
