// The save-as dialog as a real modal dialog box from template 7010 of
// quillon.dll, driven from a second thread as a user would: it reads the
// edit, types into it and presses a button.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <tuple>

#include "frame/resource_chain.h"
#include "frame/save_as_dlg.h"

namespace {

struct UserActions {
    DWORD dialogThread = 0;
    const wchar_t* typed = nullptr;  // null: leave the edit as it is
    int button = IDOK;
    std::wstring seen;  // the edit's text when the dialog came up
    bool found = false;
};

BOOL CALLBACK findSaveAs(HWND window, LPARAM result) {
    wchar_t caption[32] = {};
    GetWindowTextW(window, caption, 32);
    if (std::wstring(caption) != L"Save As" || !IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

DWORD WINAPI actAsUser(LPVOID parameter) {
    auto* user = static_cast<UserActions*>(parameter);
    HWND dialog = nullptr;
    for (int attempt = 0; attempt < 1000 && dialog == nullptr; ++attempt) {
        EnumThreadWindows(user->dialogThread, findSaveAs, reinterpret_cast<LPARAM>(&dialog));
        if (dialog == nullptr) Sleep(10);
    }
    if (dialog == nullptr) return 1;
    user->found = true;
    HWND edit = GetDlgItem(dialog, CSaveAsDlg::kNameEdit);
    wchar_t text[256] = {};
    GetWindowTextW(edit, text, 256);
    user->seen = text;
    if (user->typed != nullptr) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SendMessageW(edit, WM_CLEAR, 0, 0);
        for (const wchar_t* c = user->typed; *c != L'\0'; ++c) SendMessageW(edit, WM_CHAR, *c, 1);
    }
    SendMessageW(GetDlgItem(dialog, user->button), BM_CLICK, 0, 0);
    return 0;
}

class SaveAsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        if (GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0)
            GTEST_SKIP() << "no display to show the dialog on (run under xvfb-run)";
        module_ = LoadLibraryW(QUILLON_DLL_NAME);
        ASSERT_NE(module_, nullptr) << "GetLastError " << GetLastError();
        // The dialog code of this program finds its template in the DLL, as
        // the DLL's own copy does once the module has joined the chain.
        quillon::frame::joinResourceChain(module_);
    }
    void TearDown() override {
        if (module_ == nullptr) return;
        quillon::frame::leaveResourceChain(module_);
        FreeLibrary(module_);
    }

    // Runs the dialog with `preset` in the member while the user acts.
    INT_PTR run(CSaveAsDlg& dialog, UserActions& user) {
        user.dialogThread = GetCurrentThreadId();
        HANDLE thread = CreateThread(nullptr, 0, actAsUser, &user, 0, nullptr);
        INT_PTR result = dialog.DoModal();
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
        return result;
    }
    HMODULE module_ = nullptr;
};

// OK without changes, OK after typing (an empty name too), Cancel after typing.
TEST_F(SaveAsDialog, OkStoresTheShownOrTypedNameAndCancelKeepsTheOldOne) {
    const std::tuple<const wchar_t*, const wchar_t*, int, const wchar_t*> rows[] = {  // preset, typed, button, name
        {L"UTM Zone 33 North", nullptr, IDOK, L"UTM Zone 33 North"},
        {L"Old name", L"Site grid \u00c5lesund", IDOK, L"Site grid \u00c5lesund"},
        {L"Old name", L"", IDOK, L""},
        {L"Kept", L"Discarded", IDCANCEL, L"Kept"},
    };
    for (const auto& [preset, typed, button, name] : rows) {
        CSaveAsDlg dialog;
        dialog.m_userProjectionName = preset;
        UserActions user;
        user.typed = typed;
        user.button = button;
        EXPECT_EQ(run(dialog, user), button);
        ASSERT_TRUE(user.found) << "the dialog never came up";
        EXPECT_EQ(user.seen, preset) << "the edit does not show the preset name";
        EXPECT_EQ(dialog.m_userProjectionName.str(), std::wstring(name));
    }
}

}  // namespace
