// The save-as dialog: asks for the name under which the host saves a user
// projection. Template 7010 of the module's resources: caption "Save As",
// label 7210 "User Projection Name", edit 7209, OK and Cancel. Not exported;
// the library holds it beside its template.
#ifndef QUILLON_FRAME_SAVE_AS_DLG_H
#define QUILLON_FRAME_SAVE_AS_DLG_H

#include "frame/afx_dialog.h"

class CSaveAsDlg : public CDialog {
public:
    enum { IDD = 7010 };
    static constexpr int kNameEdit = 7209;

    explicit CSaveAsDlg(CWnd* pParent = nullptr);
    ~CSaveAsDlg() override;

    // The user projection name: empty after construction, may be preset
    // before DoModal; "OK" stores the edit's text here (an empty text too),
    // "Cancel" leaves it as it was.
    CString m_userProjectionName;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

#endif
