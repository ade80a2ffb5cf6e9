// The ten dialog templates and the manifest as the module carries them:
// captions, sizes, styles, fonts, and each template's controls (identifier,
// kind and text, in template order), then their layout.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "resources/dialog_template.h"
#include "resources/resource_table.h"

namespace {

using namespace quillon::resources;

constexpr int kNone = 65535;  // labels and group boxes without an identifier of their own

const ResourceEntry* entryOf(int type, int id) {
    for (std::size_t i = 0; i < kModuleResourceCount; ++i)
        if (kModuleResources[i].type == type && kModuleResources[i].id == id) return &kModuleResources[i];
    return nullptr;
}

DialogTemplate templateOf(int id) {
    DialogTemplate parsed;
    const ResourceEntry* entry = entryOf(kDialogType, id);
    if (entry == nullptr || !parseDialogTemplate(entry->data, entry->size, parsed)) ADD_FAILURE() << "no template " << id;
    return parsed;
}

const char* kindName(ControlKind kind) {
    static const char* const names[] = {"push", "group", "radio", "other", "edit",
                                        "label", "line", "droplist", "other", "other"};
    return names[static_cast<int>(kind)];
}

// "kind id text" for each control, in template order.
std::vector<std::string> describe(const DialogTemplate& dialog) {
    std::vector<std::string> lines;
    for (const DialogControl& control : dialog.controls) {
        std::string text(control.text.begin(), control.text.end());
        lines.push_back(std::string(kindName(kindOf(control))) + " " + std::to_string(control.id) +
                        (text.empty() ? "" : " " + text));
    }
    return lines;
}

// The controls of a template in short: tokens split by '|', each a kind
// letter (P push, G group, R radio, E edit, L label, D droplist, - line), an
// identifier (none: 65535) and ":text". "@id:text" is a label and its edit,
// "#first:ids" labels "Projection Line N" from N = first, "U:ids" the three
// unit radios, "OC" the OK and Cancel buttons.
std::vector<std::string> expand(const std::string& notation) {
    static const std::map<char, std::string> kinds = {{'P', "push"},  {'G', "group"},    {'R', "radio"}, {'E', "edit"},
                                                      {'L', "label"}, {'D', "droplist"}, {'-', "line"}};
    std::vector<std::string> lines;
    std::istringstream tokens(notation);
    for (std::string token; std::getline(tokens, token, '|');) {
        const std::size_t colon = token.find(':');
        const std::string head = token.substr(0, colon);
        const std::string text = colon == std::string::npos ? "" : token.substr(colon + 1);
        const std::string id = head.size() > 1 ? head.substr(1) : "65535";
        std::istringstream ids(text);
        int n = head[0] == '#' ? std::stoi(id) : 0;
        if (head == "OC") {
            lines.insert(lines.end(), {"push 1 OK", "push 2 Cancel"});
        } else if (head[0] == '@') {
            lines.insert(lines.end(), {"label 65535 " + text, "edit " + id});
        } else if (head[0] == '#' || head[0] == 'U') {
            const char* const units[] = {"Meters", "Feet", "US Feet"};
            for (std::string each; std::getline(ids, each, ','); ++n)
                lines.push_back(head[0] == 'U' ? "radio " + each + " " + units[n]
                                                : "label " + each + " Projection Line " + std::to_string(n));
        } else {
            lines.push_back(kinds.at(head[0]) + " " + id + (text.empty() ? "" : " " + text));
        }
    }
    return lines;
}

const struct TemplateCase {
    int id;
    const char* caption;
    int width, height;
    const char* controls;
} kTemplates[] = {
    {7010, "Save As", 254, 60, "OC|L7210:User Projection Name|E7209"},
    {7011, "Geodetics", 227, 220,
     "G:General Projection|D7186|G:Specific Projection|D7189|G:Map Projection Parameters|"
     "#1:7107,7113,7119,7175,7182,7201|P7160:Edit|G:Datum Parameters|L7137:Datum Name:|L7145:Ellipsoid Name:|"
     "L7153:Inverse Flattening:|L7178:Semi Major Axis:|L7165:DX DY DZ:|L7172:Rotations:|L7204:Scale:|P7128:Edit|"
     "R7192:User|R7195:Standard|D7198|-|-|P1:OK|P7100:Save As|P2:Cancel"},
    {7012, "Geodetics", 162, 225,
     "G:Working Ellipsoid|@7136:Name|@7127:Semi Major Axis|@7144:Inverse Flattening|G:Datum|@7152:Name|@7177:DX|"
     "@7181:DY|@7185:DZ|@7174:Scale|@7159:Rot X|@7164:Rot Y|@7171:Rot Z|OC"},
    {7013, "Transverse Mercator", 158, 142,
     "G:Transverse Mercator Parameters|@7129:Name|@7102:Central Meridian|@7114:False Northing|@7108:False Easting|"
     "@7166:Lat Of Origin|@7120:Scale Factor At CM|U:7138,7146,7154|OC"},
    {7014, "Lambert Projection", 160, 159,
     "G:Lambert Parameters|@7139:Name|@7103:Latitude Of Origin|@7115:Longitude Of Origin|@7109:False Easting|"
     "@7167:False Northing|@7121:First Standard Parallel|@7130:Second Standard Parallel|U:7161,7147,7155|OC"},
    {7015, "Polar Sterographic", 161, 139,
     "G:Polar Sterographic Parameters|@7131:Name|@7168:Lat Of Origin|@7104:Lon Of Origin|@7116:False Northing|"
     "@7110:False Easting|@7122:Scale Factor at Origin|U:7140,7148,7156|OC"},
    {7016, "Data Units", 152, 154,
     "G:Distances|D7105|G:Lat/Lon|R7111:DD MM.MMM|R7123:DD MM SS.S|G:Default Coordinate Type|R7162:Lat/Lon|"
     "R7169:Grid|OC"},
    {7017, "Brindle Local Coordinate System", 207, 206,
     "G:Local To Map Northing|@7106:North|@7112:East|@7118:Const|G:Local To Map Easting|@7124:North|@7133:East|"
     "@7142:Const|G:Map To Local Northing|@7150:North|@7158:East|@7163:Const|G:Map To Local Easting|@7170:North|"
     "@7173:East|@7176:Const|G|#0:7187,7190,7193,7196,7199,7202|P7179:Edit|D7183|OC"},
    {7018, "Local Coordinate System", 185, 68, "G:Local System Center|@7125:Lat|@7134:Lon|OC"},
    {7019, "Station/Offset System", 211, 132,
     "G:Baseline Start|@7126:Lat|@7135:Lon|G:Baseline End|@7143:Lat|@7151:Lon|G|#0:7188,7191,7194,7197,7200,7203|"
     "P7180:Edit|D7184|OC"},
};

TEST(DialogTemplates, CarryCaptionSizeFontStyleAndControlsInOrder) {
    for (const TemplateCase& expected : kTemplates) {
        SCOPED_TRACE("template " + std::to_string(expected.id));
        const ResourceEntry* entry = entryOf(kDialogType, expected.id);
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->language, kUsEnglish);
        DialogTemplate dialog = templateOf(expected.id);
        EXPECT_EQ(std::string(dialog.caption.begin(), dialog.caption.end()), expected.caption);
        EXPECT_EQ(dialog.cx, expected.width);
        EXPECT_EQ(dialog.cy, expected.height);
        EXPECT_EQ(dialog.fontPoints, 8);
        EXPECT_EQ(dialog.fontName, L"MS Sans Serif");
        const std::uint32_t style = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont |
                                    (expected.id == 7010 ? 0 : kWsVisible);
        EXPECT_EQ(dialog.style, style) << std::hex << "style 0x" << dialog.style << ", expected 0x" << style;
        EXPECT_EQ(describe(dialog), expand(expected.controls));
    }
}

TEST(DialogTemplates, SaveAsControlsSitWhereTheHostExpectsThem) {
    const std::uint32_t child = 0x40000000u | kWsVisible;  // WS_CHILD
    const std::vector<std::vector<std::uint32_t>> expected = {  // id, x, y, cx, cy, style
        {1, 53, 39, 50, 14, child | kWsTabStop | 1},  // BS_DEFPUSHBUTTON
        {2, 131, 39, 50, 14, child | kWsTabStop}, {7210, 15, 20, 74, 11, child | kWsGroup},  // SS_LEFT
        {7209, 98, 17, 132, 15, child | kWsBorder | kWsTabStop | kEsAutoHScroll},
    };
    std::vector<std::vector<std::uint32_t>> placed;
    for (const DialogControl& c : templateOf(7010).controls)
        placed.push_back({std::uint32_t(c.id), std::uint32_t(c.x), std::uint32_t(c.y), std::uint32_t(c.cx),
                          std::uint32_t(c.cy), c.style});
    EXPECT_EQ(placed, expected);
}

// Per control: one default OK and one plain Cancel button, radio groups
// that start with their first radio, single-line bordered edits, and labels
// and group boxes of their own identifiers or none.
TEST(DialogTemplates, ControlsFollowTheRulesOfTheirKind) {
    for (int id = 7010; id <= 7019; ++id) {
        DialogTemplate dialog = templateOf(id);
        bool previousWasRadio = false;
        int ok = 0, cancel = 0;
        for (const DialogControl& control : dialog.controls) {
            const ControlKind kind = kindOf(control);
            ok += control.id == 1 && kind == ControlKind::PushButton && isDefaultButton(control);
            cancel += control.id == 2 && kind == ControlKind::PushButton && !isDefaultButton(control);
            if (kind == ControlKind::RadioButton) {
                EXPECT_EQ((control.style & 0x0F), 9u) << "automatic radio " << control.id;
                EXPECT_EQ((control.style & kWsGroup) != 0, !previousWasRadio) << "radio " << control.id << " of " << id;
            }
            if (kind == ControlKind::Edit) {
                EXPECT_EQ(control.style & kEsMultiLine, 0u) << "edit " << control.id;
                EXPECT_NE(control.style & kWsBorder, 0u) << "edit " << control.id;
                EXPECT_EQ((control.style & kEsAutoHScroll) != 0, id == 7010) << "edit " << control.id;
            }
            if (kind == ControlKind::Label || kind == ControlKind::GroupBox) {
                const bool ownId = control.id >= 7100 && control.id <= 7210;
                EXPECT_TRUE(control.id == kNone || ownId) << "control " << control.id << " of " << id;
            }
            previousWasRadio = kind == ControlKind::RadioButton;
        }
        EXPECT_EQ(ok * 10 + cancel, 11) << "template " << id;
    }
}

// --- layout ---------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
};

// The area a control covers on screen. A drop-down list's template height
// includes its dropped list; closed it is one line high (12 units).
Box boxOf(const DialogControl& control) {
    const int height = kindOf(control) == ControlKind::DropDownList ? 12 : control.cy;
    return {control.x, control.y, control.x + control.cx, control.y + height};
}

bool overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool contains(const Box& outer, const Box& inner) {
    return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
           inner.bottom <= outer.bottom;
}

std::string show(const DialogControl& control) {
    const Box box = boxOf(control);
    return std::to_string(control.id) + " (" + kindName(kindOf(control)) + ") at " + std::to_string(box.left) + "," +
           std::to_string(box.top) + "-" + std::to_string(box.right) + "," + std::to_string(box.bottom);
}

// Every control lies inside its dialog and inside its group: the controls
// after a group box in template order, up to the next group box or the
// dialog's own buttons (OK, Cancel and 7011's Save As); 7011's etched lines,
// listed after its groups, each divide one group. No two controls overlap
// except inside their group box, and every edit has its label beside it on
// the left.
TEST(DialogTemplates, LayoutKeepsControlsInsideTheirGroupsAndLabelsBesideTheirEdits) {
    for (int id = 7010; id <= 7019; ++id) {
        SCOPED_TRACE("template " + std::to_string(id));
        DialogTemplate dialog = templateOf(id);
        const Box client{0, 0, dialog.cx, dialog.cy};
        const DialogControl* group = nullptr;
        for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
            const DialogControl& control = dialog.controls[i];
            const ControlKind kind = kindOf(control);
            EXPECT_TRUE(contains(client, boxOf(control))) << show(control);
            for (std::size_t k = i + 1; k < dialog.controls.size(); ++k) {
                const DialogControl& b = dialog.controls[k];
                const Box boxA = boxOf(control), boxB = boxOf(b);
                const bool nested = (kind == ControlKind::GroupBox && contains(boxA, boxB)) ||
                                    (kindOf(b) == ControlKind::GroupBox && contains(boxB, boxA));
                EXPECT_TRUE(!overlap(boxA, boxB) || nested) << show(control) << " overlaps " << show(b);
            }
            if (kind == ControlKind::Edit) {
                ASSERT_GT(i, 0u);
                const DialogControl& label = dialog.controls[i - 1];
                const int labelMiddle = label.y + label.cy / 2;
                EXPECT_TRUE(kindOf(label) == ControlKind::Label && label.x + label.cx <= control.x &&
                            control.y <= labelMiddle && labelMiddle <= control.y + control.cy)
                    << "label " << show(label) << " not beside " << show(control);
            }
            if (control.id == 1 || control.id == 2 || control.id == 7100) group = nullptr;
            if (kind == ControlKind::GroupBox) {
                group = &control;
            } else if (kind == ControlKind::Line) {
                int groups = 0;
                for (const DialogControl& other : dialog.controls)
                    groups += kindOf(other) == ControlKind::GroupBox && contains(boxOf(other), boxOf(control));
                EXPECT_EQ(groups, 1) << show(control) << " is not inside one group";
            } else if (group != nullptr) {
                EXPECT_TRUE(contains(boxOf(*group), boxOf(control))) << show(control) << " outside " << show(*group);
            }
        }
    }
}

TEST(ModuleManifest, RunsAsInvokerWithoutUiAccessAndIsDpiAware) {
    const ResourceEntry* entry = entryOf(kManifestType, 2);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->language, kUsEnglish);
    const std::string manifest(reinterpret_cast<const char*>(entry->data), entry->size);
    for (const char* part : {"level=\"asInvoker\"", "uiAccess=\"false\"", ">true</dpiAware>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part << " not in\n" << manifest;
}

TEST(DialogTemplateParser, RefusesTruncatedAndExtendedTemplates) {
    const ResourceEntry* entry = entryOf(kDialogType, 7016);
    ASSERT_NE(entry, nullptr);
    DialogTemplate parsed;
    for (std::size_t size = 0; size < entry->size; size += 7)
        EXPECT_FALSE(parseDialogTemplate(entry->data, size, parsed)) << "first " << size << " bytes";
    EXPECT_FALSE(parseDialogTemplate(nullptr, 100, parsed));
    alignas(4) const unsigned char extended[] = {0x01, 0x00, 0xFF, 0xFF, 0, 0, 0, 0};
    EXPECT_FALSE(parseDialogTemplate(extended, sizeof extended, parsed));
    EXPECT_TRUE(parseDialogTemplate(entry->data, entry->size, parsed));
}

}  // namespace
