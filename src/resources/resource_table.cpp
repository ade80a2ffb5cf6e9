#include "resources/resource_table.h"

namespace quillon::resources {

// Filled by the dialog templates and the manifest.
const ResourceEntry kModuleResources[] = {{0, 0, nullptr, 0}};
const std::size_t kModuleResourceCount = 0;

}  // namespace quillon::resources
