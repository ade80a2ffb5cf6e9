#include "resources/dialog_template.h"

namespace quillon::resources {
namespace {

constexpr std::uint32_t kExtendedSignature = 0xFFFF0001u;  // DLGTEMPLATEEX
constexpr std::uint16_t kOrdinalMark = 0xFFFF;
constexpr int kButtonAtom = 0x80, kEditAtom = 0x81, kStaticAtom = 0x82, kComboBoxAtom = 0x85;

// Reads the little-endian fields of a template, refusing to go past its end.
class TemplateReader {
public:
    TemplateReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}

    bool word(std::uint16_t& value) {
        if (size_ < 2 || at_ > size_ - 2) return false;
        value = static_cast<std::uint16_t>(data_[at_] | data_[at_ + 1] << 8);
        at_ += 2;
        return true;
    }
    bool dword(std::uint32_t& value) {
        std::uint16_t low = 0, high = 0;
        if (!word(low) || !word(high)) return false;
        value = low | static_cast<std::uint32_t>(high) << 16;
        return true;
    }
    bool coordinate(int& value) {
        std::uint16_t raw = 0;
        if (!word(raw)) return false;
        value = static_cast<std::int16_t>(raw);
        return true;
    }
    // A zero-terminated UTF-16 string, surrogate pairs joined.
    bool text(std::wstring& value) {
        value.clear();
        for (std::uint16_t unit = 0;;) {
            if (!word(unit)) return false;
            if (unit == 0) return true;
            std::uint16_t low = 0;
            if (unit >= 0xD800 && unit < 0xDC00 && sizeof(wchar_t) == 4 && peekLowSurrogate(low)) {
                at_ += 2;
                value += static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
            } else {
                value += static_cast<wchar_t>(unit);
            }
        }
    }
    // A name-or-ordinal field: an ordinal (0xFFFF then the number) or a string.
    bool nameOrOrdinal(int& ordinal, std::wstring& name) {
        std::uint16_t first = 0;
        ordinal = 0;
        name.clear();
        if (!word(first)) return false;
        if (first == 0) return true;
        if (first == kOrdinalMark) {
            std::uint16_t number = 0;
            if (!word(number)) return false;
            ordinal = number;
            return true;
        }
        at_ -= 2;
        return text(name);
    }
    bool skip(std::size_t count) {
        if (count > size_ - at_) return false;
        at_ += count;
        return true;
    }
    bool alignToDword() { return skip((4 - at_ % 4) % 4); }

private:
    bool peekLowSurrogate(std::uint16_t& low) const {
        if (size_ < 2 || at_ > size_ - 2) return false;
        low = static_cast<std::uint16_t>(data_[at_] | data_[at_ + 1] << 8);
        return low >= 0xDC00 && low < 0xE000;
    }

    const unsigned char* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

bool readControl(TemplateReader& in, DialogControl& control) {
    std::uint16_t id = 0, extraBytes = 0;
    int textOrdinal = 0;
    std::wstring ignoredName;
    if (!in.alignToDword() || !in.dword(control.style) || !in.dword(control.extendedStyle) ||
        !in.coordinate(control.x) || !in.coordinate(control.y) || !in.coordinate(control.cx) ||
        !in.coordinate(control.cy) || !in.word(id) || !in.nameOrOrdinal(control.classAtom, control.className) ||
        !in.nameOrOrdinal(textOrdinal, control.text) || !in.word(extraBytes) || !in.skip(extraBytes))
        return false;
    control.id = id;
    return true;
}

}  // namespace

bool parseDialogTemplate(const unsigned char* data, std::size_t size, DialogTemplate& out) {
    if (data == nullptr) return false;
    TemplateReader in(data, size);
    std::uint16_t count = 0;
    int menu = 0, windowClass = 0;
    std::wstring menuName, className;
    if (!in.dword(out.style)) return false;
    if (out.style == kExtendedSignature) return false;
    if (!in.dword(out.extendedStyle) || !in.word(count) || !in.coordinate(out.x) || !in.coordinate(out.y) ||
        !in.coordinate(out.cx) || !in.coordinate(out.cy) || !in.nameOrOrdinal(menu, menuName) ||
        !in.nameOrOrdinal(windowClass, className) || !in.text(out.caption))
        return false;
    out.fontPoints = 0;
    out.fontName.clear();
    if ((out.style & kDsSetFont) != 0) {
        std::uint16_t points = 0;
        if (!in.word(points) || !in.text(out.fontName)) return false;
        out.fontPoints = points;
    }
    out.controls.assign(count, DialogControl{});
    for (DialogControl& control : out.controls)
        if (!readControl(in, control)) return false;
    return true;
}

ControlKind kindOf(const DialogControl& control) {
    const std::uint32_t type = control.style & 0x0F;
    switch (control.classAtom) {
    case kButtonAtom:
        if (type == 0 || type == 1) return ControlKind::PushButton;  // BS_PUSHBUTTON, BS_DEFPUSHBUTTON
        if (type == 7) return ControlKind::GroupBox;                 // BS_GROUPBOX
        if (type == 4 || type == 9) return ControlKind::RadioButton; // BS_RADIOBUTTON, BS_AUTORADIOBUTTON
        return ControlKind::OtherButton;
    case kEditAtom:
        return ControlKind::Edit;
    case kStaticAtom: {
        const std::uint32_t staticType = control.style & 0x1F;  // SS_TYPEMASK
        // SS_LEFT, SS_CENTER, SS_RIGHT, SS_SIMPLE, SS_LEFTNOWORDWRAP
        if (staticType <= 2 || staticType == 0x0B || staticType == 0x0C) return ControlKind::Label;
        return ControlKind::Line;
    }
    case kComboBoxAtom:
        return (control.style & 0x03) == 0x03 ? ControlKind::DropDownList : ControlKind::OtherComboBox;
    default:
        return ControlKind::Other;
    }
}

bool isDefaultButton(const DialogControl& control) {
    return control.classAtom == kButtonAtom && (control.style & 0x0F) == 1;  // BS_DEFPUSHBUTTON
}

}  // namespace quillon::resources
