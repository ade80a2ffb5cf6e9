// The resources of quillon.dll as the window system finds them: the ten
// dialog templates and the manifest, byte for byte the table the other
// builds carry (resources/generated/resource_table.cpp), so both builds show the same
// dialogs.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <set>
#include <string>

#include "frame/resource_chain.h"
#include "resources/dialog_template.h"
#include "resources/resource_table.h"

namespace {

using quillon::resources::kModuleResourceCount;
using quillon::resources::kModuleResources;

BOOL CALLBACK collectId(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR found) {
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::set<int>*>(found)->insert(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

class DllResources : public ::testing::Test {
protected:
    static void SetUpTestSuite() { module_ = LoadLibraryW(QUILLON_DLL_NAME); }
    static void TearDownTestSuite() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    void SetUp() override { ASSERT_NE(module_, nullptr) << "LoadLibraryW failed, GetLastError " << GetLastError(); }

    std::set<int> idsOfType(int type) {
        std::set<int> ids;
        EnumResourceNamesW(module_, MAKEINTRESOURCEW(type), collectId, reinterpret_cast<LONG_PTR>(&ids));
        return ids;
    }
    static HMODULE module_;
};
HMODULE DllResources::module_ = nullptr;

TEST_F(DllResources, CarriesTheTenTemplatesAndTheManifestOnly) {
    EXPECT_EQ(idsOfType(5), (std::set<int>{7010, 7011, 7012, 7013, 7014, 7015, 7016, 7017, 7018, 7019}));
    EXPECT_EQ(idsOfType(24), std::set<int>{2});
}

TEST_F(DllResources, AreByteForByteTheTableOfTheOtherBuilds) {
    ASSERT_EQ(kModuleResourceCount, 11u);
    for (std::size_t i = 0; i < kModuleResourceCount; ++i) {
        const auto& entry = kModuleResources[i];
        HRSRC found = FindResourceExW(module_, MAKEINTRESOURCEW(entry.type), MAKEINTRESOURCEW(entry.id),
                                      static_cast<WORD>(entry.language));
        ASSERT_NE(found, nullptr) << "type " << entry.type << " id " << entry.id << " language " << entry.language;
        const void* bytes = LockResource(LoadResource(module_, found));
        ASSERT_EQ(SizeofResource(module_, found), entry.size) << "type " << entry.type << " id " << entry.id;
        EXPECT_EQ(std::memcmp(bytes, entry.data, entry.size), 0) << "type " << entry.type << " id " << entry.id;
    }
}

// The window system builds template 7016 into a dialog of exactly ten
// controls: two push buttons, three group boxes, one drop-down list and four
// radio buttons.
TEST_F(DllResources, Template7016BuildsADialogOfTenControlsOfTheListedKinds) {
    HWND dialog = CreateDialogParamW(module_, MAKEINTRESOURCEW(7016), nullptr,
                                     [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    if (dialog == nullptr && GetEnvironmentVariableW(L"DISPLAY", nullptr, 0) == 0)
        GTEST_SKIP() << "no display to build windows on (run under xvfb-run)";
    ASSERT_NE(dialog, nullptr) << "GetLastError " << GetLastError();
    std::multiset<std::wstring> kinds;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        std::wstring kind = className;
        if (_wcsicmp(className, L"Button") == 0) {
            const LONG type = style & BS_TYPEMASK;
            kind = type == BS_GROUPBOX ? L"group box" : type == BS_AUTORADIOBUTTON ? L"radio" : L"push button";
        } else if (_wcsicmp(className, L"ComboBox") == 0 && (style & 3) == CBS_DROPDOWNLIST) {
            kind = L"drop-down list";
        }
        kinds.insert(kind);
    }
    DestroyWindow(dialog);
    const std::multiset<std::wstring> listed = {L"push button", L"push button", L"drop-down list",
                                                L"group box",   L"group box",   L"group box",
                                                L"radio",       L"radio",       L"radio",         L"radio"};
    EXPECT_EQ(kinds, listed);
}

// FindResourceW finds no other template (tests/load/module_load_test.cpp);
// the frame's lookup through the resource chain says the same.
TEST_F(DllResources, UnknownTemplateIsNotFound) {
    quillon::frame::joinResourceChain(module_);
    for (int id : {7020, -1, 70100}) EXPECT_EQ(quillon::frame::findResource(5, id).data, nullptr) << id;
    EXPECT_NE(quillon::frame::findResource(5, 7019).data, nullptr);
    quillon::frame::leaveResourceChain(module_);
}

}  // namespace
