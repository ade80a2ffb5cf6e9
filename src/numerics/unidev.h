// The uniform deviates of the process-wide generator behind the flat gasdev
// (NormalGenerator::uniform of that generator). Its state is unguarded:
// callers serialise their draws.
#ifndef QUILLON_NUMERICS_UNIDEV_H
#define QUILLON_NUMERICS_UNIDEV_H

namespace quillon::numerics {

// A single-precision deviate in 0..1. A negative *seed, or the first call in
// the process whatever *seed holds, (re)seeds from *seed and stores 1 there.
// A seed above 54773 starts the states negative; such a sequence gives
// negative values and zeros (a slot outside the table gives 0.0) but every
// integer step wraps as 32-bit two's complement, so no seed is undefined.
float unidev(int* seed);

}  // namespace quillon::numerics

#endif
