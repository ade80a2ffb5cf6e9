// Working storage of one call: on the stack up to a fixed count, from the
// heap beyond, and a null pointer instead of an exception when the heap has
// none to give (a count whose byte size cannot be expressed is refused the
// same way, before the language would throw for it).
#ifndef QUILLON_NUMERICS_SCRATCH_H
#define QUILLON_NUMERICS_SCRATCH_H

#include <cstddef>
#include <cstdint>
#include <new>

namespace quillon::numerics {

template <typename T, std::size_t OnStack>
class Scratch {
public:
    explicit Scratch(std::size_t count) noexcept {
        if (count <= OnStack) {
            data_ = local_;
        } else if (count <= static_cast<std::size_t>(PTRDIFF_MAX) / 2 / sizeof(T)) {
            heap_ = new (std::nothrow) T[count];
            data_ = heap_;
        }
    }
    ~Scratch() { delete[] heap_; }
    Scratch(const Scratch&) = delete;
    Scratch& operator=(const Scratch&) = delete;

    // Null when the storage could not be obtained.
    T* get() const noexcept { return data_; }

private:
    T local_[OnStack];
    T* heap_ = nullptr;
    T* data_ = nullptr;
};

// Small matrices, the common case, are copied and inverted without a heap.
constexpr std::size_t kOrderOnStack = 16;

}  // namespace quillon::numerics

#endif
