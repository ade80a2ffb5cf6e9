// Base-services library of the host: resource loading.
#ifndef QUILLON_ORVBASER_H
#define QUILLON_ORVBASER_H

#include "host_api.h"

namespace Orvane {
// Takes the module handle of a library whose resources the host will use.
HOST_API void LoadAPPResourceDLL(HINSTANCE module);
}

#endif
