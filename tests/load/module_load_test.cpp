// Loads the built library as a host does, with the real host stand-ins, and
// checks the start-up sequence: resource hand-off, then version check, then
// base start-up; a refused version makes the library not loadable.
#include <gtest/gtest.h>

#include <quillon/loader.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

constexpr int kAttached = 2;
constexpr int kBaseStarted = 4;
constexpr int kInResourceChain = 8;

std::string readTrace(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class ModuleLoad : public ::testing::Test {
protected:
    void SetUp() override {
        trace_ = "/tmp/quillon-trace-" + std::to_string(getpid()) + ".log";
        std::remove(trace_.c_str());
        setenv("QUILLON_HOST_TRACE", trace_.c_str(), 1);
        unsetenv("HALYARDR_REJECT");
    }
    void TearDown() override {
        unsetenv("QUILLON_HOST_TRACE");
        unsetenv("HALYARDR_REJECT");
        std::remove(trace_.c_str());
    }
    // The module state straight from dlopen, bypassing the loader's check.
    int rawState() {
        void* module = dlopen(QUILLON_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
        if (module == nullptr) return -1;
        auto state = reinterpret_cast<int (*)()>(dlsym(module, "quillonModuleState"));
        int result = state != nullptr ? state() : -1;
        dlclose(module);
        return result;
    }
    std::string trace_;
};

TEST_F(ModuleLoad, AcceptedVersionLoadsAndStartsTheFrame) {
    void* module = quillonLoadLibrary(QUILLON_LIBRARY_PATH);
    ASSERT_NE(module, nullptr) << dlerror();
    auto state = reinterpret_cast<int (*)()>(dlsym(module, "quillonModuleState"));
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state() & (kAttached | kBaseStarted | kInResourceChain), kAttached | kBaseStarted | kInResourceChain);
    // The library is usable: an exported function answers.
    auto julDate = reinterpret_cast<double (*)(const wchar_t*, int*, int)>(dlsym(module, "parseStrToUnit"));
    ASSERT_NE(julDate, nullptr);
    EXPECT_EQ(julDate(L"1 km", nullptr, 0), 1000.0);
    quillonFreeLibrary(module);
}

// The host finds the module's dialog templates by identifier once it has
// loaded: quillonFindResource stands in for FindResource and LoadResource.
TEST_F(ModuleLoad, LoadedModuleFindsItsDialogTemplatesThroughTheResourceChain) {
    void* module = quillonLoadLibrary(QUILLON_LIBRARY_PATH);
    ASSERT_NE(module, nullptr) << dlerror();
    auto find = reinterpret_cast<decltype(&quillonFindResource)>(dlsym(module, "quillonFindResource"));
    ASSERT_NE(find, nullptr);
    const void* data = nullptr;
    std::size_t size = 0;
    ASSERT_EQ(find(5, 7010, &data, &size), 1);
    // A classic template with DS_SETFONT: style, no extended style, four
    // controls, 254 x 60 units, then "Save As" after the empty menu and class.
    const auto* bytes = static_cast<const unsigned char*>(data);
    ASSERT_GT(size, 30u);
    EXPECT_EQ(bytes[8] | bytes[9] << 8, 4);
    EXPECT_EQ(bytes[14] | bytes[15] << 8, 254);
    EXPECT_EQ(bytes[16] | bytes[17] << 8, 60);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes + 22), 14), std::string("S\0a\0v\0e\0 \0A\0s\0", 14));
    for (int id = 7011; id <= 7019; ++id) EXPECT_EQ(find(5, id, &data, &size), 1) << id;
    EXPECT_EQ(find(24, 2, &data, &size), 1);

    const void* untouched = &size;
    data = untouched;
    for (int id : {7009, 7020, -1, 0, 65535}) {
        EXPECT_EQ(find(5, id, &data, &size), 0) << id;
        EXPECT_EQ(data, untouched);
    }
    EXPECT_EQ(find(24, 1, &data, &size), 0);
    quillonFreeLibrary(module);
}

TEST_F(ModuleLoad, RejectedVersionIsNotLoadableAndBaseNeverStarts) {
    setenv("HALYARDR_REJECT", "83886100", 1);
    EXPECT_EQ(quillonLoadLibrary(QUILLON_LIBRARY_PATH), nullptr);
    int state = rawState();
    EXPECT_EQ(state & kAttached, 0);
    EXPECT_EQ(state & kBaseStarted, 0) << "CWinApp::InitInstance ran after a refusal";
    EXPECT_EQ(state & kInResourceChain, 0);
}

TEST_F(ModuleLoad, OtherRejectedVersionsDoNotConcernThisBuild) {
    setenv("HALYARDR_REJECT", "0x05000015", 1);
    void* module = quillonLoadLibrary(QUILLON_LIBRARY_PATH);
    EXPECT_NE(module, nullptr);
    if (module != nullptr) quillonFreeLibrary(module);
}

TEST_F(ModuleLoad, ResourceHandOffComesBeforeVersionCheckAlsoOnRefusal) {
    for (const char* reject : {"", "*"}) {
        std::remove(trace_.c_str());
        setenv("HALYARDR_REJECT", reject, 1);
        void* module = quillonLoadLibrary(QUILLON_LIBRARY_PATH);
        if (module != nullptr) quillonFreeLibrary(module);
        std::string trace = readTrace(trace_);
        std::size_t handOff = trace.find("LoadAPPResourceDLL module\n");
        std::size_t check = trace.find("CheckDllVersion ");
        ASSERT_NE(handOff, std::string::npos) << trace;
        ASSERT_NE(check, std::string::npos) << trace;
        EXPECT_LT(handOff, check) << "with HALYARDR_REJECT=" << reject;
    }
}

TEST_F(ModuleLoad, VersionCheckGetsNumberSourcePathAndBuildTime) {
    void* module = quillonLoadLibrary(QUILLON_LIBRARY_PATH);
    ASSERT_NE(module, nullptr);
    quillonFreeLibrary(module);
    std::string trace = readTrace(trace_);
    std::size_t at = trace.find("CheckDllVersion 83886100 ");
    ASSERT_NE(at, std::string::npos) << trace;
    std::string rest = trace.substr(at + 25, trace.find('\n', at) - at - 25);
    std::size_t bar = rest.find('|');
    ASSERT_NE(bar, std::string::npos);
    EXPECT_EQ(rest.substr(0, bar), QUILLON_FRAME_SOURCE);
    // "Jul 15 2021 13:12:42": month, day, year, blank, 24-hour time.
    std::string when = rest.substr(bar + 1);
    ASSERT_EQ(when.size(), 20u) << when;
    EXPECT_EQ(when[3], ' ');
    EXPECT_EQ(when[11], ' ');
    EXPECT_EQ(when[14], ':');
    EXPECT_EQ(when[17], ':');
}

}  // namespace
