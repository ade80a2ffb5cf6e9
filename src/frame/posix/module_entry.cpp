// The module's entry point outside Windows: the load-time initialiser runs
// the framework's process attach, the unload-time finaliser its detach.
// A host learns the outcome of the attach from quillonModuleState(); the
// loader in <quillon/loader.h> unloads the library again when it failed.
#include <dlfcn.h>

#include "frame/module_frame.h"
#include "quillon/export.h"

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
