// The module's entry point outside Windows: the load-time initialiser runs
// the framework's process attach, the unload-time finaliser its detach.
// A host learns the outcome of the attach from quillonModuleState(); the
// loader in <quillon/loader.h> unloads the library again when it failed.
#include <dlfcn.h>

#include <cstddef>

#include "frame/module_frame.h"
#include "frame/resource_chain.h"
#include "quillon/loader.h"

namespace {

// The module handle is the address at which the library was loaded, as the
// instance handle of a Windows module is.
HINSTANCE thisModule() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&thisModule), &info) == 0) return nullptr;
    return static_cast<HINSTANCE>(info.dli_fbase);
}

__attribute__((constructor(QUILLON_ATTACH_PRIORITY))) void attachModule() {
    quillon::frame::processAttach(thisModule());
}

__attribute__((destructor(QUILLON_ATTACH_PRIORITY))) void detachModule() { quillon::frame::processDetach(); }

}  // namespace

// Bits of quillon::frame::ModuleState; bit 2 (value 2) set means the module
// loaded and may be used.
QUILLON_C QUILLON_API int quillonModuleState() { return quillon::frame::moduleState(); }

// What FindResource and LoadResource give a Windows host: the bytes of the
// module's resource of that type and identifier, found through the
// resource chain. 1 and the bytes when found, 0 (outputs untouched) when
// the module has not started or carries no such resource.
QUILLON_C QUILLON_API int quillonFindResource(int type, int id, const void** data, std::size_t* size) {
    quillon::frame::ResourceData found = quillon::frame::findResource(type, id);
    if (found.data == nullptr) return 0;
    if (data != nullptr) *data = found.data;
    if (size != nullptr) *size = found.size;
    return 1;
}
