// The module's entry point on Windows. A FALSE from the process attach makes
// LoadLibrary fail.
#include <windows.h>

#include "frame/module_frame.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        return quillon::frame::processAttach(module) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
        quillon::frame::processDetach();
        return TRUE;
    default:
        return TRUE;
    }
}
