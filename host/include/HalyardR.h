// Version-registry library of the host.
//
// The stand-in accepts every version unless the environment variable
// HALYARDR_REJECT is set: to "*" it rejects every version, to a number
// (decimal, or hexadecimal with 0x) it rejects that version only.
// When QUILLON_HOST_TRACE names a file, both stand-ins append one line per
// call to it, so tests can check which calls came in which order.
#ifndef QUILLON_HALYARDR_H
#define QUILLON_HALYARDR_H

#include "host_api.h"

// true when the registry accepts the module's build.
HOST_API bool CheckDllVersion(unsigned int version, const char* sourcePath, const char* buildTime);

#endif
