// The module's resources as data, for builds whose platform has no resource
// section: the same dialog templates and manifest the Windows build links
// from its resource script, found through the frame's resource chain.
// resource_table.cpp is generated from quillon.rc by
// scripts/gen_resource_table.py.
#ifndef QUILLON_RESOURCES_RESOURCE_TABLE_H
#define QUILLON_RESOURCES_RESOURCE_TABLE_H

#include <cstddef>

namespace quillon::resources {

// Resource types, numbered as Windows numbers them.
constexpr int kDialogType = 5;     // RT_DIALOG
constexpr int kManifestType = 24;  // RT_MANIFEST
// US English, the language of every resource of the module.
constexpr int kUsEnglish = 1033;

struct ResourceEntry {
    int type;
    int id;
    int language;
    const unsigned char* data;
    std::size_t size;
};

extern const ResourceEntry kModuleResources[];
extern const std::size_t kModuleResourceCount;

}  // namespace quillon::resources

#endif
