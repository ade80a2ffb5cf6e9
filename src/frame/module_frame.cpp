#include "frame/module_frame.h"

#include "frame/resource_chain.h"

namespace quillon::frame {
namespace {
int state = 0;
}

bool processAttach(HINSTANCE module) {
    state = kAttachRan;
    CWinApp* app = AfxGetApp();
    if (app == nullptr) return false;
    app->m_hInstance = module;
    if (!app->InitInstance()) {
        app->ExitInstance();
        return false;
    }
    joinResourceChain(module);
    state |= kAttached | kInResourceChain;
    return true;
}

void processDetach() {
    if ((state & kAttached) == 0) return;
    if (CWinApp* app = AfxGetApp()) app->ExitInstance();
    leaveResourceChain(AfxGetApp() != nullptr ? AfxGetApp()->m_hInstance : nullptr);
    state &= ~(kAttached | kInResourceChain);
}

int moduleState() { return state; }

void noteBaseStarted() { state |= kBaseStarted; }

}  // namespace quillon::frame
