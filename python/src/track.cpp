// Position fixes of NMEA 0183 logs.
#include "common.h"

namespace quillon_python {

void bind_track(py::module_&) {}

}  // namespace quillon_python
