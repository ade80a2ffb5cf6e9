// Shuffled combination of three linear congruential generators.
#include "numerics/unidev.h"

#include <cstdint>

namespace {

constexpr std::int32_t kM1 = 259200;
constexpr std::int32_t kA1 = 7141;
constexpr std::int32_t kC1 = 54773;
constexpr std::int32_t kM2 = 134456;
constexpr std::int32_t kA2 = 8121;
constexpr std::int32_t kC2 = 28411;
constexpr std::int32_t kM3 = 243000;
constexpr std::int32_t kA3 = 4561;
constexpr std::int32_t kC3 = 51349;
constexpr double kR1 = 1.0 / kM1;
constexpr double kR2 = 1.0 / kM2;
constexpr int kSlots = 97;

struct UniformState {
    int seeded = 0;
    std::int32_t ix1 = 0;
    std::int32_t ix2 = 0;
    std::int32_t ix3 = 0;
    float table[kSlots] = {};
};

UniformState state;

// a * x + c with 32-bit wrap-around, then the remainder truncated toward zero
// (negative states keep their sign). In range no wrap ever happens.
std::int32_t step(std::int32_t a, std::int32_t x, std::int32_t c, std::int32_t m) {
    const auto product = static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(x);
    return static_cast<std::int32_t>(product + static_cast<std::uint32_t>(c)) % m;
}

// High-order part from ix1, low-order part from ix2, rounded to single.
float tableValue(std::int32_t ix1, std::int32_t ix2) {
    return static_cast<float>((ix2 * kR2 + ix1) * kR1);
}

void seedFrom(int* seed) {
    state.seeded = 1;
    const auto start = static_cast<std::int32_t>(static_cast<std::uint32_t>(kC1) - static_cast<std::uint32_t>(*seed));
    state.ix1 = start % kM1;
    state.ix1 = step(kA1, state.ix1, kC1, kM1);
    state.ix2 = state.ix1 % kM2;
    state.ix1 = step(kA1, state.ix1, kC1, kM1);
    state.ix3 = state.ix1 % kM3;
    for (float& slot : state.table) {
        state.ix1 = step(kA1, state.ix1, kC1, kM1);
        state.ix2 = step(kA2, state.ix2, kC2, kM2);
        slot = tableValue(state.ix1, state.ix2);
    }
    *seed = 1;
}

}  // namespace

namespace quillon::numerics {

float unidev(int* seed) {
    if (*seed < 0 || state.seeded == 0) seedFrom(seed);
    state.ix1 = step(kA1, state.ix1, kC1, kM1);
    state.ix2 = step(kA2, state.ix2, kC2, kM2);
    state.ix3 = step(kA3, state.ix3, kC3, kM3);
    const std::int32_t slot = (kSlots * state.ix3) / kM3;
    if (slot < 0 || slot >= kSlots) return 0.0f;
    const float value = state.table[slot];
    state.table[slot] = tableValue(state.ix1, state.ix2);
    return value;
}

void resetUnidevState() { state = UniformState(); }

}  // namespace quillon::numerics
