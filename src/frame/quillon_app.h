// The application object of the library.
#ifndef QUILLON_FRAME_QUILLON_APP_H
#define QUILLON_FRAME_QUILLON_APP_H

#include "frame/afx.h"

// Version under which the library registers its build with the host.
constexpr unsigned int kQuillonRegisteredVersion = 83886100u;  // 0x05000014

class CQuillonApp : public CWinApp {
public:
    CQuillonApp();
    ~CQuillonApp() override;
    // Hands the module to the host's resource loader, then registers the
    // build with the host's version registry; a refusal fails the load.
    BOOL InitInstance() override;
};

#endif
