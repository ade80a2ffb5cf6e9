// The framework's resource chain: the modules whose resources a host finds
// by identifier. On Windows the lookup reads the module's resource section;
// elsewhere the resources are compiled into the module as data (see
// resources/resource_table.h).
#ifndef QUILLON_FRAME_RESOURCE_CHAIN_H
#define QUILLON_FRAME_RESOURCE_CHAIN_H

#include <cstddef>

#include "frame/afx.h"

namespace quillon::frame {

struct ResourceData {
    const unsigned char* data;
    std::size_t size;
};

void joinResourceChain(HINSTANCE module);
void leaveResourceChain(HINSTANCE module);
bool inResourceChain(HINSTANCE module);
// The module of the chain, null when none has joined.
HINSTANCE resourceModule();
// The resource of that type and identifier (US English) in a module of the
// chain; {nullptr, 0} when there is none, or no module has joined.
ResourceData findResource(int type, int id);

// The platform's lookup in one module (frame/posix, frame/windows).
ResourceData findModuleResource(HINSTANCE module, int type, int id);

}  // namespace quillon::frame

#endif
