// Element blocks for the numeric storage. A request that cannot be expressed
// (a negative element count, or a byte size beyond the address width) is
// turned into a request for a quarter of the address space: no allocator can
// grant it, yet it stays below the array bound past which the language raises
// an exception before the allocator is even asked. So every bad size ends as
// a null result, and exhaustion gives null instead of an exception.
#ifndef QUILLON_NUMERICS_ALLOCATION_H
#define QUILLON_NUMERICS_ALLOCATION_H

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

namespace quillon::numerics {

template <typename T>
T* allocateElements(long long count) {
    constexpr std::size_t refused = static_cast<std::size_t>(std::numeric_limits<std::ptrdiff_t>::max() / 2) / sizeof(T);
    std::size_t elements = refused;
    if (count >= 0 && static_cast<unsigned long long>(count) < refused) elements = static_cast<std::size_t>(count);
    return new (std::nothrow) T[elements];
}

template <typename T>
void releaseElements(T* block) {
    delete[] block;
}

}  // namespace quillon::numerics

#endif
