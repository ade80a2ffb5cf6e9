#include "frame/save_as_dlg.h"

CSaveAsDlg::CSaveAsDlg(CWnd* pParent) : CDialog(IDD, pParent) {}

CSaveAsDlg::~CSaveAsDlg() = default;

void CSaveAsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, kNameEdit, m_userProjectionName);
}
