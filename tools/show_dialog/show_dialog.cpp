// Shows one dialog template of quillon.dll for a screenshot:
//   quillon_show_dialog.exe ID RECT-FILE
// Once the dialog has been painted it writes its window rectangle in screen
// pixels ("left top right bottom") to RECT-FILE, then closes itself after
// a few seconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const char* rectFile = nullptr;
constexpr UINT_PTR kReportTimer = 1, kCloseTimer = 2;

INT_PTR CALLBACK showProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        SetWindowPos(dialog, HWND_TOP, 16, 16, 0, 0, SWP_NOSIZE);
        SetTimer(dialog, kReportTimer, 700, nullptr);
        return TRUE;
    case WM_TIMER:
        if (wParam == kReportTimer) {
            KillTimer(dialog, kReportTimer);
            RECT rect{};
            GetWindowRect(dialog, &rect);
            if (std::FILE* out = std::fopen(rectFile, "w")) {
                std::fprintf(out, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
                std::fclose(out);
            }
            SetTimer(dialog, kCloseTimer, 1500, nullptr);
        } else {
            EndDialog(dialog, 0);
        }
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc != 3) return 2;
    rectFile = __argv[2];
    HMODULE module = LoadLibraryW(L"quillon.dll");
    if (module == nullptr) return 3;
    INT_PTR shown = DialogBoxParamW(module, MAKEINTRESOURCEW(std::atoi(__argv[1])), nullptr, showProcedure, 0);
    FreeLibrary(module);
    return shown == -1 ? 4 : 0;
}
