// A small stand-in for the framework's dialog classes: CDialog runs a
// dialog template of the module's resources modally, and DDX_Text moves
// text between a control and a member in either direction. How the dialog
// is shown is the platform's (frame/windows: a real modal dialog box;
// frame/posix: a prompt on the terminal); see DialogSurface.
#ifndef QUILLON_FRAME_AFX_DIALOG_H
#define QUILLON_FRAME_AFX_DIALOG_H

#include <cstdint>

#include "frame/afx.h"
#include "frame/afx_string.h"

#if !defined(_WIN32)
typedef unsigned int UINT;
typedef std::intptr_t INT_PTR;
#  define IDOK 1
#  define IDCANCEL 2
#endif

class CDialog;

class CWnd : public CCmdTarget {
public:
    // The window handle (an HWND on Windows); null where no window exists.
    void* m_hWnd = nullptr;
};

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}
    BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CDialog* m_pDlgWnd;
};

// The controls of an open dialog, as its platform presents them.
class DialogSurface {
public:
    virtual ~DialogSurface() = default;
    virtual CString controlText(int id) const = 0;
    virtual void setControlText(int id, const CString& text) = 0;
    // Closes the dialog; its modal run returns `result`.
    virtual void end(INT_PTR result) = 0;
};

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Shows the dialog of the template modally: IDOK or IDCANCEL as the user
    // closed it, -1 when the template is not in the resource chain or the
    // dialog cannot be shown.
    virtual INT_PTR DoModal();
    // Fills the controls from the members.
    virtual BOOL OnInitDialog();
    // Stores the controls into the members and closes with IDOK.
    virtual void OnOK();
    // Closes with IDCANCEL, members untouched.
    virtual void OnCancel();

    void EndDialog(INT_PTR result);
    // Exchanges the controls and the members (DoDataExchange); FALSE when
    // the dialog is not open.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    UINT templateId() const { return m_nIDTemplate; }
    CWnd* parentWindow() const { return m_pParentWnd; }
    // The controls while the dialog is open, else null. The platform's modal
    // run attaches them when the dialog opens and detaches them after.
    DialogSurface* surface() const { return m_surface; }
    void attachSurface(DialogSurface* surface) { m_surface = surface; }

protected:
    virtual void DoDataExchange(CDataExchange* pDX);

private:
    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
    DialogSurface* m_surface = nullptr;
};

// Control `nIDC` <-> `value`, in the direction pDX says; no validation.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

#endif
