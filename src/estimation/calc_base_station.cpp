// The station record of the position estimator.
#include <algorithm>

#include "quillon/estimation.h"

namespace {

constexpr int kNameLength = 25;

void copyFields(CalcBaseStation& to, const CalcBaseStation& from) {
    to.x = from.x;
    to.y = from.y;
    to.z = from.z;
    to.tag = from.tag;
    std::copy(from.name, from.name + kNameLength, to.name);
}

}  // namespace

// Only the first character of the name is set: the rest of the buffer is
// the caller's to fill.
CalcBaseStation::CalcBaseStation() : x(0.0), y(0.0), z(0.0), tag(0) { name[0] = 0; }

CalcBaseStation& CalcBaseStation::operator=(const CalcBaseStation& other) {
    if (this != &other) copyFields(*this, other);
    return *this;
}

CalcBaseStation& CalcBaseStation::operator=(CalcBaseStation&& other) {
    if (this != &other) copyFields(*this, other);
    return *this;
}
