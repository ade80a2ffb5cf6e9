// A small stand-in for the application framework the library is built on:
// the object hierarchy of the application object, and the module handle.
// Only what the module frame uses is here.
#ifndef QUILLON_FRAME_AFX_H
#define QUILLON_FRAME_AFX_H

#include "OrvBaseR.h"  // HINSTANCE

#if !defined(_WIN32)
typedef int BOOL;
#  ifndef TRUE
#    define TRUE 1
#    define FALSE 0
#  endif
#endif

// The application object must exist before the load-time start-up runs. On
// Windows the runtime builds every static object before DllMain; elsewhere
// the start-up is itself a load-time initialiser, so the object is built at
// an earlier initialisation priority (the start-up uses a later one).
#if defined(_WIN32)
#  define QUILLON_APP_INIT
#else
#  define QUILLON_APP_INIT __attribute__((init_priority(200)))
#  define QUILLON_ATTACH_PRIORITY 300
#endif

class CObject {
public:
    virtual ~CObject() = default;
};

class CCmdTarget : public CObject {};

class CWinThread : public CCmdTarget {
public:
    virtual BOOL InitInstance() { return FALSE; }
    virtual int ExitInstance() { return 0; }
};

// The application object of a module. The framework's DLL sequence (see
// module_frame.h) sets the instance handle and calls InitInstance.
class CWinApp : public CWinThread {
public:
    explicit CWinApp(const wchar_t* appName = nullptr);
    ~CWinApp() override;
    BOOL InitInstance() override;
    int ExitInstance() override;

    const wchar_t* m_pszAppName;
    HINSTANCE m_hInstance = nullptr;
};

// The one application object of this module, or null before it is built.
CWinApp* AfxGetApp();

#endif
