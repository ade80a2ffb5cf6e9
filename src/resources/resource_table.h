// The module's resources as data, for builds whose platform has no resource
// section: the same dialog templates and manifest the Windows build links
// from its resource script, found through the frame's resource chain.
#ifndef QUILLON_RESOURCES_RESOURCE_TABLE_H
#define QUILLON_RESOURCES_RESOURCE_TABLE_H

#include <cstddef>

namespace quillon::resources {

// Resource types, numbered as Windows numbers them.
constexpr int kDialogType = 5;     // RT_DIALOG
constexpr int kManifestType = 24;  // RT_MANIFEST

struct ResourceEntry {
    int type;
    int id;
    const unsigned char* data;
    std::size_t size;
};

extern const ResourceEntry kModuleResources[];
extern const std::size_t kModuleResourceCount;

}  // namespace quillon::resources

#endif
