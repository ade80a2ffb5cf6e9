// The process-wide Units instance. Callers serialise creation, release,
// loading and saving against every other use.
#include <new>

#include "quillon/units.h"
#include "units/units_instance.h"

namespace {
Units* instance = nullptr;
}

namespace quillon::units {
Units* processUnits() { return instance; }
}  // namespace quillon::units

int allocUnits(const wchar_t* path) {
    delete instance;  // a second call replaces the earlier object
    instance = new (std::nothrow) Units();
    if (instance == nullptr) return 0;
    instance->loadData(path);
    return 1;
}

void loadUnits(const wchar_t* path) {
    if (instance != nullptr) instance->loadData(path);
}

void saveUnits(const wchar_t* path) {
    if (instance != nullptr) instance->saveData(path);
}

void deAllocUnits(const wchar_t* path) {
    if (instance == nullptr) return;
    instance->saveData(path);
    delete instance;
    instance = nullptr;
}

Units* getUnits() { return instance; }

int defaultEntry() { return instance != nullptr ? instance->defaultEntry : 0; }

int geoOrGrid() { return defaultEntry(); }

int getLatLonStyle() { return instance != nullptr ? instance->latLonStyle : 0; }
