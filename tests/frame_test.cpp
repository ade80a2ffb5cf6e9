// The frame's save-as dialog: CSaveAsDlg's exchange of its name with edit
// 7209 on a stand-in for the open dialog's controls, and the question on the
// terminal that builds without a window system ask (on Windows the dialog
// is a real dialog box, tests/windows/save_as_dialog_test.cpp).
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "frame/save_as_dlg.h"
#if !defined(_WIN32)
#include "frame/posix/terminal_dialog.h"
#include "frame/resource_chain.h"
#endif

namespace dialog {
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
        {L"Old", L"Typed", IDCANCEL, IDCANCEL, L"Old"}, {L"", L"Typed", IDCANCEL, IDCANCEL, L""},
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
}  // namespace dialog

#if !defined(_WIN32)
namespace terminal {
namespace {

using quillon::frame::runDialogOnTerminal;

class TerminalDialog : public ::testing::Test {
protected:
    // Any handle: outside Windows the chain's resources are the module's table.
    HINSTANCE module_ = reinterpret_cast<HINSTANCE>(&module_);
    void SetUp() override { quillon::frame::joinResourceChain(module_); }
    void TearDown() override { quillon::frame::leaveResourceChain(module_); }
};

TEST_F(TerminalDialog, AsksTheSaveAsQuestionWithCaptionLabelAndButtons) {
    CSaveAsDlg dialog;
    std::istringstream in("Zone 12\nOK\n");
    std::ostringstream out;
    EXPECT_EQ(runDialogOnTerminal(dialog, in, out), IDOK);
    EXPECT_EQ(out.str(), "Save As\nUser Projection Name: OK / Cancel [OK]: ");
    EXPECT_EQ(dialog.m_userProjectionName.str(), L"Zone 12");
}

TEST_F(TerminalDialog, AnswersDecideTheNameAsTheDialogBoxWould) {
    struct Case {
        const wchar_t* preset;
        const char* typed;  // what the user types, lines ending in \n
        INT_PTR result;
        const wchar_t* name;
    };
    const Case cases[] = {
        {L"Old", "\n\n", IDOK, L"Old"},                    // Enter twice: keep the name, OK is the default
        {L"Old", "New\nok\n", IDOK, L"New"},
        {L"Old", "New\nO\n", IDOK, L"New"},                // a leading part of the button's text
        {L"", "\nOK\n", IDOK, L""},                        // an empty name is accepted
        {L"Old", "New\ncancel\n", IDCANCEL, L"Old"}, {L"Old", "New\nC\n", IDCANCEL, L"Old"},
        {L"Old", "New\nmaybe\nCancel\n", IDCANCEL, L"Old"},  // asked again until a button is chosen
        {L"", "Gr\xc3\xa5 \xe2\x80\x94 sone\r\nOK\r\n", IDOK, L"Gr\u00e5 \u2014 sone"},  // UTF-8, CR LF
        {L"Old", "", IDCANCEL, L"Old"},                    // end of input at the name
        {L"Old", "New\n", IDCANCEL, L"Old"},               // end of input at the buttons
        {L"Old", "New", IDCANCEL, L"Old"},                 // end of input inside the line
    };
    for (const Case& c : cases) {
        CSaveAsDlg dialog;
        dialog.m_userProjectionName = c.preset;
        std::istringstream in(c.typed);
        std::ostringstream out;
        EXPECT_EQ(runDialogOnTerminal(dialog, in, out), c.result) << "typed \"" << c.typed << "\"";
        EXPECT_EQ(dialog.m_userProjectionName.str(), c.name) << "typed \"" << c.typed << "\"";
    }
}

TEST_F(TerminalDialog, ShowsThePresetNameInBrackets) {
    CSaveAsDlg dialog;
    dialog.m_userProjectionName = L"Old name";
    std::istringstream in("\nCancel\n");
    std::ostringstream out;
    runDialogOnTerminal(dialog, in, out);
    EXPECT_EQ(out.str(), "Save As\nUser Projection Name [Old name]: OK / Cancel [OK]: ");
}

TEST_F(TerminalDialog, UnknownTemplateAsksNothing) {
    CDialog dialog(7020);
    std::istringstream in("x\nOK\n");
    std::ostringstream out;
    EXPECT_EQ(runDialogOnTerminal(dialog, in, out), -1);
    EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace terminal
#endif
