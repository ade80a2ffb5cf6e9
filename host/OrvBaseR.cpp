#include "OrvBaseR.h"

#include <cstdio>

#include "host_trace.h"

namespace Orvane {

void LoadAPPResourceDLL(HINSTANCE module) {
    char line[64];
    std::snprintf(line, sizeof line, "LoadAPPResourceDLL %s", module != nullptr ? "module" : "null");
    hostTrace(line);
}

}  // namespace Orvane
