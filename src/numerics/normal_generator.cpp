// Standard normal deviates by Marsaglia's polar method from a shuffled
// combination of three linear congruential generators: two fill a 97-slot
// shuffle table, the third chooses the slot handed out and refilled.
#include <cmath>
#include <cstdint>
#include <limits>

#include "quillon/cpp/numerics.hpp"

namespace quillon {

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

// A pair is rejected with probability 1 - pi/4, so this many rejections in a
// row never happen with states in range. A seed above 54773 starts the
// uniform states negative, where long runs of rejected pairs occur before
// the states return to range; the bound keeps such a call finite.
constexpr long kMaxRejectedPairs = 1L << 22;

// a * x + c with 32-bit wrap-around, then the remainder truncated toward zero
// (negative states keep their sign). In range no wrap ever happens, and out
// of range the wrap keeps every seed defined.
std::int32_t step(std::int32_t a, std::int32_t x, std::int32_t c, std::int32_t m) {
    const auto product = static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(x);
    return static_cast<std::int32_t>(product + static_cast<std::uint32_t>(c)) % m;
}

// High-order part from ix1, low-order part from ix2, rounded to single.
float tableValue(std::int32_t ix1, std::int32_t ix2) {
    return static_cast<float>((ix2 * kR2 + ix1) * kR1);
}

}  // namespace

void NormalGenerator::reseed(int& seed) noexcept {
    seeded_ = true;
    const auto start = static_cast<std::int32_t>(static_cast<std::uint32_t>(kC1) - static_cast<std::uint32_t>(seed));
    ix1_ = start % kM1;
    ix1_ = step(kA1, ix1_, kC1, kM1);
    ix2_ = ix1_ % kM2;
    ix1_ = step(kA1, ix1_, kC1, kM1);
    ix3_ = ix1_ % kM3;
    for (float& slot : table_) {
        ix1_ = step(kA1, ix1_, kC1, kM1);
        ix2_ = step(kA2, ix2_, kC2, kM2);
        slot = tableValue(ix1_, ix2_);
    }
    seed = 1;
}

float NormalGenerator::uniform(int& seed) noexcept {
    if (seed < 0 || !seeded_) reseed(seed);
    ix1_ = step(kA1, ix1_, kC1, kM1);
    ix2_ = step(kA2, ix2_, kC2, kM2);
    ix3_ = step(kA3, ix3_, kC3, kM3);
    // Outside 0..96 only when the states have gone negative.
    const std::int32_t slot = (kSlots * ix3_) / kM3;
    if (slot < 0 || slot >= kSlots) return 0.0f;
    const float value = table_[slot];
    table_[slot] = tableValue(ix1_, ix2_);
    return value;
}

double NormalGenerator::draw(int& seed) noexcept {
    if (pending_) {
        pending_ = false;
        return kept_;
    }
    double x = 0.0;
    double y = 0.0;
    double rsq = 0.0;
    long rejected = 0;
    do {
        if (rejected++ == kMaxRejectedPairs) return std::numeric_limits<double>::quiet_NaN();
        x = 2.0 * static_cast<double>(uniform(seed)) - 1.0;
        y = 2.0 * static_cast<double>(uniform(seed)) - 1.0;
        rsq = x * x + y * y;
    } while (rsq >= 1.0 || rsq == 0.0);
    const double fac = std::sqrt(std::log(rsq) * -2.0 / rsq);
    kept_ = x * fac;
    pending_ = true;
    return y * fac;
}

}  // namespace quillon
