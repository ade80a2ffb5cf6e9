// The framework's regular-DLL sequence, run by the module's entry point
// (DllMain on Windows, the load-time initialiser elsewhere).
#ifndef QUILLON_FRAME_MODULE_FRAME_H
#define QUILLON_FRAME_MODULE_FRAME_H

#include "frame/afx.h"

namespace quillon::frame {

// What the frame has done so far; a host outside Windows reads it through
// quillonModuleState() to learn whether the load succeeded.
enum ModuleState : int {
    kAttachRan = 1,       // the entry point's process attach ran
    kAttached = 2,        // InitInstance succeeded: the module is usable
    kBaseStarted = 4,     // the base CWinApp::InitInstance ran
    kInResourceChain = 8  // the module's resources can be found by identifier
};

// Process attach: InitInstance of the application object; on success the
// module joins the resource chain. false means the load must fail.
bool processAttach(HINSTANCE module);
// Process detach: ExitInstance and leaving the resource chain.
void processDetach();
int moduleState();
void noteBaseStarted();

}  // namespace quillon::frame

#endif
