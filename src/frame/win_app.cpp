#include "frame/afx.h"
#include "frame/module_frame.h"

namespace {
CWinApp* theModuleApp = nullptr;
}

CWinApp::CWinApp(const wchar_t* appName) : m_pszAppName(appName) { theModuleApp = this; }

CWinApp::~CWinApp() {
    if (theModuleApp == this) theModuleApp = nullptr;
}

BOOL CWinApp::InitInstance() {
    quillon::frame::noteBaseStarted();
    return TRUE;
}

int CWinApp::ExitInstance() { return 0; }

CWinApp* AfxGetApp() { return theModuleApp; }
