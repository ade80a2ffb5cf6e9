// CSaveAsDlg's exchange of its name with edit 7209, on a stand-in for the
// open dialog's controls, and what DoModal does without a template.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "frame/save_as_dlg.h"

namespace {

class FakeControls : public DialogSurface {
public:
    CString controlText(int id) const override {
        auto found = texts.find(id);
        return found != texts.end() ? found->second : CString();
    }
    void setControlText(int id, const CString& text) override { texts[id] = text; }
    void end(INT_PTR endResult) override { result = endResult; }
    std::map<int, CString> texts;
    INT_PTR result = 0;
};

TEST(SaveAsDlg, StartsWithAnEmptyNameOnTemplate7010) {
    CSaveAsDlg dialog;
    EXPECT_TRUE(dialog.m_userProjectionName.IsEmpty());
    EXPECT_EQ(dialog.templateId(), 7010u);
}

TEST(SaveAsDlg, OpeningShowsThePresetNameInTheEdit) {
    CSaveAsDlg dialog;
    dialog.m_userProjectionName = L"UTM Zone 33 North";
    FakeControls controls;
    dialog.attachSurface(&controls);
    EXPECT_TRUE(dialog.OnInitDialog());
    EXPECT_EQ(controls.texts[7209].str(), L"UTM Zone 33 North");
}

TEST(SaveAsDlg, OkStoresTheEditTextAndCancelDoesNot) {
    struct Case {
        const wchar_t* preset;
        const wchar_t* typed;
        int button;
        INT_PTR result;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"Old", L"Old", IDOK, IDOK, L"Old"},        // OK without changes
        {L"Old", L"New name", IDOK, IDOK, L"New name"},
        {L"Old", L"", IDOK, IDOK, L""},              // an empty name is accepted
        {L"Old", L"Typed", IDCANCEL, IDCANCEL, L"Old"},
        {L"", L"Typed", IDCANCEL, IDCANCEL, L""},
    };
    for (std::size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE("case " + std::to_string(i));
        CSaveAsDlg dialog;
        dialog.m_userProjectionName = c.preset;
        FakeControls controls;
        dialog.attachSurface(&controls);
        dialog.OnInitDialog();
        controls.texts[7209] = c.typed;
        if (c.button == IDOK)
            dialog.OnOK();
        else
            dialog.OnCancel();
        EXPECT_EQ(controls.result, c.result);
        EXPECT_EQ(dialog.m_userProjectionName.str(), std::wstring(c.name));
    }
}

TEST(SaveAsDlg, ExchangeNeedsAnOpenDialog) {
    CSaveAsDlg dialog;
    dialog.m_userProjectionName = L"Kept";
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_userProjectionName.str(), L"Kept");
}

// No module has joined the resource chain here, so no template is found:
// DoModal reports -1 instead of showing anything.
TEST(SaveAsDlg, TemplateNotInTheResourceChainCannotBeShown) {
    CSaveAsDlg saveAs;
    EXPECT_EQ(saveAs.DoModal(), -1);
    CDialog unknown(7020);
    EXPECT_EQ(unknown.DoModal(), -1);
}

}  // namespace
