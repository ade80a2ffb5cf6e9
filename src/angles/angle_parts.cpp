// The parts of an angle's magnitude as numbers, for callers that lay them out
// themselves.
#include <climits>

#include "angles/angle_split.h"
#include "quillon/cpp/angles.hpp"

namespace quillon {

// -45.75 at 3 decimals -> 45, 45, 0.0; 10.9999999 at 2 -> 11, 0, 0.0.
DmsParts split_dms(double degrees, int decimals) noexcept {
    const auto split = angles::splitDms(degrees, decimals);
    if (split.degrees > INT_MAX) return {};  // the carry out of 2147483647 degrees
    return {static_cast<int>(split.degrees), split.minutes, split.seconds};
}

// 10.9999999 at 2 decimals -> 11, 0.0.
DmParts split_dm(double degrees, int decimals) noexcept {
    const auto split = angles::splitDm(degrees, decimals);
    if (split.degrees > INT_MAX) return {};
    return {static_cast<int>(split.degrees), split.minutes};
}

}  // namespace quillon
