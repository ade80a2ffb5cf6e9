// CDialog::DoModal on Windows: a real modal dialog box built from the
// template the resource chain finds, as the framework builds it.
#include <windows.h>

#include <string>

#include "frame/afx_dialog.h"
#include "frame/resource_chain.h"
#include "resources/resource_table.h"

namespace {

// The controls of the open dialog box.
class DialogBoxSurface : public DialogSurface {
public:
    HWND window = nullptr;

    CString controlText(int id) const override {
        HWND control = GetDlgItem(window, id);
        if (control == nullptr) return CString();
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
        return CString(std::move(text));
    }
    void setControlText(int id, const CString& text) override { SetDlgItemTextW(window, id, text.GetString()); }
    void end(INT_PTR result) override { ::EndDialog(window, result); }
};

struct ModalRun {
    CDialog* dialog;
    DialogBoxSurface surface;
};

INT_PTR CALLBACK dialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* run = reinterpret_cast<ModalRun*>(lParam);
        SetWindowLongPtrW(window, DWLP_USER, lParam);
        run->surface.window = window;
        run->dialog->m_hWnd = window;
        run->dialog->attachSurface(&run->surface);
        return run->dialog->OnInitDialog();
    }
    auto* run = reinterpret_cast<ModalRun*>(GetWindowLongPtrW(window, DWLP_USER));
    if (run == nullptr || message != WM_COMMAND) return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:  // also Enter, OK being the default button
        run->dialog->OnOK();
        return TRUE;
    case IDCANCEL:  // also Escape and the close box
        run->dialog->OnCancel();
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CDialog::DoModal() {
    quillon::frame::ResourceData found =
        quillon::frame::findResource(quillon::resources::kDialogType, static_cast<int>(templateId()));
    if (found.data == nullptr) return -1;
    ModalRun run{this, {}};
    HWND owner = parentWindow() != nullptr ? static_cast<HWND>(parentWindow()->m_hWnd) : nullptr;
    INT_PTR result = DialogBoxIndirectParamW(quillon::frame::resourceModule(),
                                             reinterpret_cast<LPCDLGTEMPLATEW>(found.data), owner,
                                             dialogProcedure, reinterpret_cast<LPARAM>(&run));
    attachSurface(nullptr);
    m_hWnd = nullptr;
    return result;
}
