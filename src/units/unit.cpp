#include <cstring>

#include "quillon/units.h"

Unit::Unit() : name{}, abbrev{}, toMeters(0.0), decimals(2) {}

Unit& Unit::operator=(const Unit& other) {
    std::memcpy(name, other.name, sizeof name);
    std::memcpy(abbrev, other.abbrev, sizeof abbrev);
    toMeters = other.toMeters;
    decimals = other.decimals;
    return *this;
}

Unit& Unit::operator=(Unit&& other) { return *this = static_cast<const Unit&>(other); }
