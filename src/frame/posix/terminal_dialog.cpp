#include "frame/posix/terminal_dialog.h"

#include <istream>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "frame/resource_chain.h"
#include "text/utf.h"
#include "resources/dialog_template.h"
#include "resources/resource_table.h"

namespace quillon::frame {
namespace {

using resources::ControlKind;
using resources::DialogControl;
using resources::DialogTemplate;

using utf::fromUtf8;
using utf::toUtf8;

// The edit and label texts of the dialog while it is asked on the terminal.
class TerminalSurface : public DialogSurface {
public:
    explicit TerminalSurface(const DialogTemplate& dialogTemplate) {
        for (const DialogControl& control : dialogTemplate.controls) texts_[control.id] = control.text;
    }
    CString controlText(int id) const override {
        auto found = texts_.find(id);
        return found != texts_.end() ? CString(found->second) : CString();
    }
    void setControlText(int id, const CString& text) override { texts_[id] = text.str(); }
    void end(INT_PTR result) override {
        result_ = result;
        ended_ = true;
    }
    bool ended() const { return ended_; }
    INT_PTR result() const { return result_; }

private:
    std::map<int, std::wstring> texts_;
    bool ended_ = false;
    INT_PTR result_ = IDCANCEL;
};

// The label that names an edit: the nearest text to its left on the same
// line, else the nearest text before it in the template.
std::wstring labelOf(const DialogTemplate& dialogTemplate, std::size_t editIndex) {
    const DialogControl& edit = dialogTemplate.controls[editIndex];
    const DialogControl* best = nullptr;
    for (const DialogControl& control : dialogTemplate.controls) {
        if (resources::kindOf(control) != ControlKind::Label) continue;
        const bool sameLine = control.y < edit.y + edit.cy && edit.y < control.y + control.cy;
        if (sameLine && control.x + control.cx <= edit.x && (best == nullptr || control.x > best->x)) best = &control;
    }
    if (best != nullptr) return best->text;
    for (std::size_t i = editIndex; i-- > 0;)
        if (resources::kindOf(dialogTemplate.controls[i]) == ControlKind::Label) return dialogTemplate.controls[i].text;
    return L"";
}

bool askLine(std::istream& in, std::ostream& out, const std::string& prompt, std::wstring& answer) {
    out << prompt << std::flush;
    std::string line;
    if (!std::getline(in, line)) {
        out << '\n';
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    answer = fromUtf8(line);
    return true;
}

std::wstring lowerAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

// Asks which of OK and Cancel to press; IDCANCEL at end of input.
int askButton(const DialogTemplate& dialogTemplate, std::istream& in, std::ostream& out) {
    std::vector<const DialogControl*> buttons;
    const DialogControl* preferred = nullptr;
    for (const DialogControl& control : dialogTemplate.controls) {
        if (resources::kindOf(control) != ControlKind::PushButton || (control.id != IDOK && control.id != IDCANCEL))
            continue;
        buttons.push_back(&control);
        if (preferred == nullptr && resources::isDefaultButton(control)) preferred = &control;
    }
    if (buttons.empty()) return IDCANCEL;
    std::string prompt;
    for (const DialogControl* button : buttons) prompt += (prompt.empty() ? "" : " / ") + toUtf8(button->text);
    if (preferred != nullptr) prompt += " [" + toUtf8(preferred->text) + "]";
    prompt += ": ";
    for (std::wstring answer;;) {
        if (!askLine(in, out, prompt, answer)) return IDCANCEL;
        if (answer.empty() && preferred != nullptr) return preferred->id;
        answer = lowerAscii(answer);
        for (const DialogControl* button : buttons)
            if (!answer.empty() && lowerAscii(button->text).compare(0, answer.size(), answer) == 0) return button->id;
    }
}

}  // namespace

INT_PTR runDialogOnTerminal(CDialog& dialog, std::istream& in, std::ostream& out) {
    ResourceData found = findResource(resources::kDialogType, static_cast<int>(dialog.templateId()));
    DialogTemplate dialogTemplate;
    if (found.data == nullptr || !resources::parseDialogTemplate(found.data, found.size, dialogTemplate)) return -1;

    TerminalSurface surface(dialogTemplate);
    dialog.attachSurface(&surface);
    dialog.OnInitDialog();
    out << toUtf8(dialogTemplate.caption) << '\n';
    bool answered = true;
    for (std::size_t i = 0; answered && i < dialogTemplate.controls.size(); ++i) {
        const DialogControl& control = dialogTemplate.controls[i];
        if (resources::kindOf(control) != ControlKind::Edit) continue;
        const std::wstring current = surface.controlText(control.id).str();
        std::string prompt = toUtf8(labelOf(dialogTemplate, i));
        if (!current.empty()) prompt += " [" + toUtf8(current) + "]";
        prompt += ": ";
        std::wstring answer;
        answered = askLine(in, out, prompt, answer);
        if (answered && !answer.empty()) surface.setControlText(control.id, answer);
    }
    const int button = answered ? askButton(dialogTemplate, in, out) : IDCANCEL;
    if (button == IDOK)
        dialog.OnOK();
    else
        dialog.OnCancel();
    dialog.attachSurface(nullptr);
    return surface.ended() ? surface.result() : IDCANCEL;
}

}  // namespace quillon::frame
