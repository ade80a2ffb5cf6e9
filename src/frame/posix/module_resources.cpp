// Outside Windows a module has no resource section: its resources are the
// table compiled from the same resource script.
#include "frame/resource_chain.h"
#include "resources/resource_table.h"

namespace quillon::frame {

ResourceData findModuleResource(HINSTANCE, int type, int id) {
    for (std::size_t i = 0; i < resources::kModuleResourceCount; ++i) {
        const resources::ResourceEntry& entry = resources::kModuleResources[i];
        if (entry.type == type && entry.id == id) return {entry.data, entry.size};
    }
    return {nullptr, 0};
}

}  // namespace quillon::frame
