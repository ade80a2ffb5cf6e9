// The process-wide generator behind the flat gasdev, for tests.
#ifndef QUILLON_NUMERICS_GASDEV_H
#define QUILLON_NUMERICS_GASDEV_H

namespace quillon::numerics {

// Tests only: no kept deviate, generators never seeded (as at load).
void resetGasdevState();

}  // namespace quillon::numerics

#endif
