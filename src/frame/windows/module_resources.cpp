// The resources linked into the module's resource section from
// resources/quillon.rc.
#include <windows.h>

#include "frame/resource_chain.h"
#include "resources/resource_table.h"

namespace quillon::frame {

ResourceData findModuleResource(HINSTANCE module, int type, int id) {
    if (type <= 0 || type > 0xFFFF || id <= 0 || id > 0xFFFF) return {nullptr, 0};
    HRSRC found = FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id),
                                  static_cast<WORD>(resources::kUsEnglish));
    if (found == nullptr) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(module, found);
    if (loaded == nullptr) return {nullptr, 0};
    return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
}

}  // namespace quillon::frame
