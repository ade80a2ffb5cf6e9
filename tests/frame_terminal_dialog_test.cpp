// The save-as question on the terminal, as builds without a window system
// ask it. POSIX only: on Windows the dialog is a real dialog box (see
// tests/windows/save_as_dialog_test.cpp).
#if !defined(_WIN32)
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "frame/posix/terminal_dialog.h"
#include "frame/resource_chain.h"
#include "frame/save_as_dlg.h"

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
        {L"Old", "New\ncancel\n", IDCANCEL, L"Old"},
        {L"Old", "New\nC\n", IDCANCEL, L"Old"},
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
#endif
