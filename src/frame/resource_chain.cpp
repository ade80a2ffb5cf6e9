#include "frame/resource_chain.h"

#include "resources/resource_table.h"

namespace quillon::frame {
namespace {
// This module is the only one whose resources the library carries as data.
HINSTANCE chained = nullptr;
bool joined = false;
}  // namespace

void joinResourceChain(HINSTANCE module) {
    chained = module;
    joined = true;
}

void leaveResourceChain(HINSTANCE module) {
    if (joined && chained == module) joined = false;
}

bool inResourceChain(HINSTANCE module) { return joined && chained == module; }

ResourceData findResource(int type, int id) {
    if (!joined) return {nullptr, 0};
    for (std::size_t i = 0; i < resources::kModuleResourceCount; ++i) {
        const resources::ResourceEntry& entry = resources::kModuleResources[i];
        if (entry.type == type && entry.id == id) return {entry.data, entry.size};
    }
    return {nullptr, 0};
}

}  // namespace quillon::frame
