// Test access to the state of the normal deviate generator.
#ifndef QUILLON_NUMERICS_GASDEV_H
#define QUILLON_NUMERICS_GASDEV_H

namespace quillon::numerics {

// Tests only: no saved deviate, uniform generator never seeded (as at load).
void resetGasdevState();

}  // namespace quillon::numerics

#endif
