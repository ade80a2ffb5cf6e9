#include "frame/quillon_app.h"

#include "HalyardR.h"
#include "OrvBaseR.h"

CQuillonApp::CQuillonApp() : CWinApp(nullptr) {}

CQuillonApp::~CQuillonApp() = default;

BOOL CQuillonApp::InitInstance() {
    Orvane::LoadAPPResourceDLL(m_hInstance);
    // The registry identifies the build by this source file and the time it
    // was compiled.
    if (!CheckDllVersion(kQuillonRegisteredVersion, __FILE__, __DATE__ " " __TIME__)) return FALSE;
    return CWinApp::InitInstance();
}

// The one application object of the module.
CQuillonApp theApp QUILLON_APP_INIT;
