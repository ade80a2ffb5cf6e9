// The frame's save-as dialog: CSaveAsDlg's exchange of its name with edit
// 7209 on a stand-in for the open dialog's controls, and the question on the
// terminal that builds without a window system ask (on Windows the dialog
// is a real dialog box, tests/windows/save_as_dialog_test.cpp).
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <tuple>

#include "frame/save_as_dlg.h"
#if !defined(_WIN32)
#include "frame/module_frame.h"
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

TEST(SaveAsDlg, OpeningShowsThePresetNameAndOkStoresTheEditTextCancelDoesNot) {
    EXPECT_TRUE(CSaveAsDlg().m_userProjectionName.IsEmpty());
    EXPECT_EQ(CSaveAsDlg().templateId(), 7010u);
    const std::tuple<const wchar_t*, const wchar_t*, int, const wchar_t*> cases[] = {  // preset, typed, button, name
        {L"UTM Zone 33 North", L"UTM Zone 33 North", IDOK, L"UTM Zone 33 North"},  // OK without changes
        {L"Old", L"New name", IDOK, L"New name"},
        {L"Old", L"", IDOK, L""},  // an empty name is accepted
        {L"Old", L"Typed", IDCANCEL, L"Old"}, {L"", L"Typed", IDCANCEL, L""},
    };
    for (const auto& [preset, typed, button, name] : cases) {
        SCOPED_TRACE(::testing::PrintToString(std::wstring(typed)));
        CSaveAsDlg dialog;
        dialog.m_userProjectionName = preset;
        FakeControls controls;
        dialog.attachSurface(&controls);
        EXPECT_TRUE(dialog.OnInitDialog());
        EXPECT_EQ(controls.texts[7209].str(), preset);
        controls.texts[7209] = typed;
        if (button == IDOK)
            dialog.OnOK();
        else
            dialog.OnCancel();
        EXPECT_EQ(controls.result, button);
        EXPECT_EQ(dialog.m_userProjectionName.str(), std::wstring(name));
    }
}

// Without an open dialog there is nothing to exchange with; without a
// module in the resource chain no template is found, so DoModal reports -1.
TEST(SaveAsDlg, ExchangeNeedsAnOpenDialogAndShowingATemplateInTheChain) {
    CSaveAsDlg dialog;
    dialog.m_userProjectionName = L"Kept";
    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_userProjectionName.str(), L"Kept");
    EXPECT_EQ(dialog.DoModal(), -1);
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

TEST_F(TerminalDialog, AnswersDecideTheNameAsTheDialogBoxWould) {
    // The preset name, what the user types (lines ending in \n), the result, the name, and the whole question
    // where it is checked.
    const std::tuple<const wchar_t*, const char*, INT_PTR, const wchar_t*, const char*> cases[] = {
        {L"", "Zone 12\nOK\n", IDOK, L"Zone 12", "Save As\nUser Projection Name: OK / Cancel [OK]: "},
        {L"Old name", "\nCancel\n", IDCANCEL, L"Old name",
         "Save As\nUser Projection Name [Old name]: OK / Cancel [OK]: "},
        {L"Old", "\n\n", IDOK, L"Old", nullptr},  // Enter twice: keep the name, OK is the default
        {L"Old", "New\nok\n", IDOK, L"New", nullptr},
        {L"Old", "New\nO\n", IDOK, L"New", nullptr},  // a leading part of the button's text
        {L"", "\nOK\n", IDOK, L"", nullptr},          // an empty name is accepted
        {L"Old", "New\ncancel\n", IDCANCEL, L"Old", nullptr}, {L"Old", "New\nC\n", IDCANCEL, L"Old", nullptr},
        {L"Old", "New\nmaybe\nCancel\n", IDCANCEL, L"Old", nullptr},  // asked again until a button is chosen
        {L"", "Gr\xc3\xa5 \xe2\x80\x94 sone\r\nOK\r\n", IDOK, L"Gr\u00e5 \u2014 sone", nullptr},  // UTF-8, CR LF
        {L"Old", "", IDCANCEL, L"Old", nullptr},     // end of input at the name
        {L"Old", "New\n", IDCANCEL, L"Old", nullptr},  // end of input at the buttons
        {L"Old", "New", IDCANCEL, L"Old", nullptr},    // end of input inside the line
    };
    for (const auto& [preset, typed, result, name, asked] : cases) {
        CSaveAsDlg dialog;
        dialog.m_userProjectionName = preset;
        std::istringstream in(typed);
        std::ostringstream out;
        EXPECT_EQ(runDialogOnTerminal(dialog, in, out), result) << "typed \"" << typed << "\"";
        EXPECT_EQ(dialog.m_userProjectionName.str(), name) << "typed \"" << typed << "\"";
        EXPECT_EQ(out.str(), asked ? asked : out.str());
    }
    // A template the chain does not hold asks nothing.
    CDialog unknown(7020);
    std::istringstream in("x\nOK\n");
    std::ostringstream out;
    EXPECT_EQ(runDialogOnTerminal(unknown, in, out), -1);
    EXPECT_EQ(out.str(), "");
}

// Detach undoes a successful attach (the module leaves the resource chain)
// and nothing else.
TEST(ModuleFrame, DetachUndoesASuccessfulAttach) {
    namespace frame = quillon::frame;
    CWinApp app;
    const int joined = frame::kAttached | frame::kInResourceChain;
    ASSERT_TRUE(frame::processAttach(reinterpret_cast<HINSTANCE>(&app)));
    EXPECT_EQ(frame::moduleState() & joined, joined);
    EXPECT_NE(frame::findResource(5, 7010).data, nullptr);
    frame::processDetach();
    EXPECT_EQ(frame::moduleState() & joined, 0);
    EXPECT_EQ(frame::findResource(5, 7010).data, nullptr);
    frame::processDetach();
    EXPECT_EQ(frame::moduleState() & joined, 0);
}

}  // namespace
}  // namespace terminal
#endif
