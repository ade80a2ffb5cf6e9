// Loading the library at run time, as a host does.
//
// On Windows, LoadLibraryW already fails when the library refuses to start.
// Elsewhere a load-time refusal cannot fail dlopen itself, so the library
// reports its start-up through quillonModuleState() and this loader unloads
// it again and reports failure, just as LoadLibraryW would.
#ifndef QUILLON_LOADER_H
#define QUILLON_LOADER_H

#if defined(_WIN32)
#  include <windows.h>

inline HMODULE quillonLoadLibrary(const wchar_t* path) { return LoadLibraryW(path); }
inline void quillonFreeLibrary(HMODULE module) { FreeLibrary(module); }

#else
#  include <dlfcn.h>

#  include <stddef.h>

#  include "quillon/export.h"

// The stand-in for FindResource and LoadResource outside Windows: the bytes
// of the loaded library's resource of that type (5 dialog template, 24
// manifest) and identifier, as the library's resource section carries them
// on Windows. 1 and the bytes when found; 0, outputs untouched, when the
// library has not started or has no such resource. Hosts look it up with
// dlsym(module, "quillonFindResource").
QUILLON_C QUILLON_API int quillonFindResource(int type, int id, const void** data, size_t* size);

// The module-state bit that says the library started and may be used.
#  define QUILLON_MODULE_ATTACHED 2

// A handle of the loaded library, or null when it cannot be loaded or
// refused to start.
inline void* quillonLoadLibrary(const char* path) {
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) return nullptr;
    using StateFn = int (*)();
    auto state = reinterpret_cast<StateFn>(dlsym(module, "quillonModuleState"));
    if (state == nullptr || (state() & QUILLON_MODULE_ATTACHED) == 0) {
        dlclose(module);
        return nullptr;
    }
    return module;
}

inline void quillonFreeLibrary(void* module) { dlclose(module); }

#endif

#endif
