#ifndef QUILLON_UNITS_UNITS_INSTANCE_H
#define QUILLON_UNITS_UNITS_INSTANCE_H

#include "quillon/units.h"

namespace quillon::units {
// The process-wide instance, or null.
Units* processUnits();
}  // namespace quillon::units

#endif
