#include "frame/resource_chain.h"

namespace quillon::frame {
namespace {
// The library's own module is the one module of its chain.
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

HINSTANCE resourceModule() { return joined ? chained : nullptr; }

ResourceData findResource(int type, int id) {
    if (!joined) return {nullptr, 0};
    return findModuleResource(chained, type, id);
}

}  // namespace quillon::frame
