// Loads the built library as a host does, through quillon/loader.h
// (LoadLibraryW on Windows, dlopen elsewhere), with the real host stand-ins,
// and checks the start-up sequence: resource hand-off, then version check,
// then base start-up; a refused version makes the library not loadable.
#include <gtest/gtest.h>

#include <quillon/loader.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#if defined(_WIN32)
#include "frame/module_frame.h"
#include "frame/quillon_app.h"
#define QUILLON_LIBRARY QUILLON_DLL_NAME
#else
#include <unistd.h>
#define QUILLON_LIBRARY QUILLON_LIBRARY_PATH
#endif

namespace {

std::string readTrace(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

#if defined(_WIN32)
// The host stand-ins read their settings with getenv from the C runtime
// this program shares with them.
void setVariable(const std::string& name, const std::string& value) { _putenv((name + "=" + value).c_str()); }
void* symbol(HMODULE module, const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); }
std::string traceFile() { return "quillon-trace-" + std::to_string(GetCurrentProcessId()) + ".log"; }
// The resource of that type and identifier, as FindResource and LoadResource give it.
bool findResource(HMODULE module, int type, int id, const void** data, std::size_t* size) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(type));
    if (found == nullptr) return false;
    *data = LockResource(LoadResource(module, found));
    *size = SizeofResource(module, found);
    return true;
}
#else
void setVariable(const std::string& name, const std::string& value) { setenv(name.c_str(), value.c_str(), 1); }
void* symbol(void* module, const char* name) { return dlsym(module, name); }
std::string traceFile() { return "/tmp/quillon-trace-" + std::to_string(getpid()) + ".log"; }
bool findResource(void* module, int type, int id, const void** data, std::size_t* size) {
    auto find = reinterpret_cast<decltype(&quillonFindResource)>(dlsym(module, "quillonFindResource"));
    return find != nullptr && find(type, id, data, size) == 1;
}
#endif

class ModuleLoad : public ::testing::Test {
protected:
    void SetUp() override {
        std::remove(trace_.c_str());
        setVariable("QUILLON_HOST_TRACE", trace_);
        setVariable("HALYARDR_REJECT", "");
    }
    void TearDown() override {
        setVariable("QUILLON_HOST_TRACE", "");
        setVariable("HALYARDR_REJECT", "");
        std::remove(trace_.c_str());
    }
    std::string trace_ = traceFile();
};

// The host finds the module's dialog templates by identifier once it has
// loaded, and the library's functions answer.
TEST_F(ModuleLoad, AcceptedVersionLoadsAndCarriesItsDialogTemplates) {
    auto module = quillonLoadLibrary(QUILLON_LIBRARY);
    ASSERT_NE(module, nullptr);
    auto parse = reinterpret_cast<double (*)(const wchar_t*, int*, int)>(symbol(module, "parseStrToUnit"));
    ASSERT_NE(parse, nullptr);
    EXPECT_EQ(parse(L"1 km", nullptr, 0), 1000.0);
    const void* data = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(findResource(module, 5, 7010, &data, &size));
    // Its width, 254 units, is that template's alone (its contents are the
    // table's, tests/resources_dialog_templates_test.cpp).
    const auto* bytes = static_cast<const unsigned char*>(data);
    ASSERT_GT(size, 30u);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 254);
    for (int id = 7011; id <= 7019; ++id) EXPECT_TRUE(findResource(module, 5, id, &data, &size)) << id;
    EXPECT_TRUE(findResource(module, 24, 2, &data, &size));
    const void* untouched = &size;
    data = untouched;
    for (int id : {7009, 7020, 0, 65535}) {
        EXPECT_FALSE(findResource(module, 5, id, &data, &size)) << id;
        EXPECT_EQ(data, untouched);
    }
    EXPECT_FALSE(findResource(module, 24, 1, &data, &size));
    quillonFreeLibrary(module);
}

// The version check gets the number, the frame's source path and its build
// time ("Jul 15 2021 13:12:42"), after the resource hand-off, also when it
// refuses; a refusal of this build's version, or of every version, makes the
// library not loadable, and a refusal of another version does not.
TEST_F(ModuleLoad, VersionCheckFollowsTheResourceHandOffAndItsRefusalFailsTheLoad) {
    for (const char* reject : {"", "*", "83886100", "0x05000014", "0x05000015"}) {
        SCOPED_TRACE(std::string("HALYARDR_REJECT=") + reject);
        std::remove(trace_.c_str());
        setVariable("HALYARDR_REJECT", reject);
        const bool refused = reject[0] != '\0' && std::string(reject) != "0x05000015";
#if defined(_WIN32)
        SetLastError(0);
#endif
        auto module = quillonLoadLibrary(QUILLON_LIBRARY);
        EXPECT_EQ(module == nullptr, refused);
#if defined(_WIN32)
        if (refused) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
        }
#endif
        if (module != nullptr) quillonFreeLibrary(module);
        const std::string trace = readTrace(trace_);
        const std::size_t handOff = trace.find("LoadAPPResourceDLL module\n");
        const std::size_t check = trace.find("CheckDllVersion 83886100 " QUILLON_FRAME_SOURCE "|");
        ASSERT_NE(handOff, std::string::npos) << trace;
        ASSERT_NE(check, std::string::npos) << trace;
        EXPECT_LT(handOff, check);
        const std::size_t bar = trace.find('|', check), end = trace.find('\n', check);
        const std::string when = trace.substr(bar + 1, end - bar - 1);
        ASSERT_EQ(when.size(), 20u) << when;
        EXPECT_EQ(std::string() + when[3] + when[11] + when[14] + when[17], "  ::");
    }
}

// A refused start-up stops the frame before the base start-up and before it
// joins the resource chain. On Windows the DLL is gone after a refused load,
// so the frame's record is read from the same frame code run in this program.
TEST_F(ModuleLoad, RefusedStartUpNeverReachesTheBaseStartUp) {
    constexpr int kBaseStarted = 4, kInResourceChain = 8;
    setVariable("HALYARDR_REJECT", "*");
#if defined(_WIN32)
    CQuillonApp app;
    EXPECT_FALSE(quillon::frame::processAttach(GetModuleHandleW(nullptr)));
    const int state = quillon::frame::moduleState();
    setVariable("HALYARDR_REJECT", "");
    EXPECT_TRUE(quillon::frame::processAttach(GetModuleHandleW(nullptr)));
    EXPECT_NE(quillon::frame::moduleState() & kBaseStarted, 0);
    quillon::frame::processDetach();
#else
    // The module state straight from dlopen, bypassing the loader's check.
    void* module = dlopen(QUILLON_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr);
    auto stateOf = reinterpret_cast<int (*)()>(dlsym(module, "quillonModuleState"));
    ASSERT_NE(stateOf, nullptr);
    const int state = stateOf();
    dlclose(module);
    EXPECT_EQ(state & QUILLON_MODULE_ATTACHED, 0);
#endif
    EXPECT_EQ(state & kBaseStarted, 0) << "CWinApp::InitInstance ran after a refusal";
    EXPECT_EQ(state & kInResourceChain, 0);
}

}  // namespace
