// Reading classic (not extended) dialog templates, the binary form that the
// resource compiler makes of a DIALOG statement and that the window system
// builds a dialog from.
#ifndef QUILLON_RESOURCES_DIALOG_TEMPLATE_H
#define QUILLON_RESOURCES_DIALOG_TEMPLATE_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quillon::resources {

// What a control is, from its window class and style.
enum class ControlKind {
    PushButton,     // "Button", BS_PUSHBUTTON or BS_DEFPUSHBUTTON
    GroupBox,       // "Button", BS_GROUPBOX
    RadioButton,    // "Button", BS_RADIOBUTTON or BS_AUTORADIOBUTTON
    OtherButton,    // check boxes and the like
    Edit,           // "Edit"
    Label,          // "Static" showing text
    Line,           // "Static" etched line or frame
    DropDownList,   // "ComboBox", CBS_DROPDOWNLIST
    OtherComboBox,  // "ComboBox", simple or editable
    Other           // list boxes, scroll bars, classes given by name
};

struct DialogControl {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    int id = 0;                        // 65535 for "no identifier"
    int classAtom = 0;                 // 0x80..0x85, 0 when named
    std::wstring className;            // when given by name
    std::wstring text;
};

struct DialogTemplate {
    std::uint32_t style = 0;
    std::uint32_t extendedStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
    std::wstring caption;
    int fontPoints = 0;                // 0 without DS_SETFONT
    std::wstring fontName;
    std::vector<DialogControl> controls;
};

// The template in `size` bytes at `data` (which start on a 32-bit
// boundary). false, with `out` unspecified, for an extended template or
// bytes that end before the template does.
bool parseDialogTemplate(const unsigned char* data, std::size_t size, DialogTemplate& out);

ControlKind kindOf(const DialogControl& control);
bool isDefaultButton(const DialogControl& control);

// Styles the templates are checked against, as the window system numbers them.
constexpr std::uint32_t kWsPopup = 0x80000000u;
constexpr std::uint32_t kWsVisible = 0x10000000u;
constexpr std::uint32_t kWsCaption = 0x00C00000u;
constexpr std::uint32_t kWsBorder = 0x00800000u;
constexpr std::uint32_t kWsSysMenu = 0x00080000u;
constexpr std::uint32_t kWsGroup = 0x00020000u;
constexpr std::uint32_t kWsTabStop = 0x00010000u;
constexpr std::uint32_t kDsModalFrame = 0x00000080u;
constexpr std::uint32_t kDsSetFont = 0x00000040u;
constexpr std::uint32_t kEsAutoHScroll = 0x00000080u;
constexpr std::uint32_t kEsMultiLine = 0x00000004u;

}  // namespace quillon::resources

#endif
