// The platform-neutral part of the dialog stand-in; DoModal is the
// platform's (frame/posix, frame/windows).
#include "frame/afx_dialog.h"

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(INT_PTR result) {
    if (m_surface != nullptr) m_surface->end(result);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (m_surface == nullptr) return FALSE;
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    DialogSurface* surface = pDX->m_pDlgWnd->surface();
    if (surface == nullptr) return;
    if (pDX->m_bSaveAndValidate)
        value = surface->controlText(nIDC);
    else
        surface->setControlText(nIDC, value);
}
