// Loads quillon.dll as a Windows host does, with LoadLibraryW and the real
// host stand-ins beside it. (tests/load does the same through dlopen; a
// Windows loader reports a refused start-up itself, so no module-state
// query is needed here.)
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "frame/module_frame.h"
#include "frame/quillon_app.h"

namespace {

std::string readTrace(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The host stand-ins read their settings with getenv from the C runtime
// this program shares with them.
void setVariable(const std::string& name, const std::string& value) { _putenv((name + "=" + value).c_str()); }

class DllLoad : public ::testing::Test {
protected:
    void SetUp() override {
        trace_ = "quillon-trace-" + std::to_string(GetCurrentProcessId()) + ".log";
        std::remove(trace_.c_str());
        setVariable("QUILLON_HOST_TRACE", trace_);
        setVariable("HALYARDR_REJECT", "");
    }
    void TearDown() override {
        setVariable("QUILLON_HOST_TRACE", "");
        setVariable("HALYARDR_REJECT", "");
        std::remove(trace_.c_str());
    }
    std::string trace_;
};

TEST_F(DllLoad, AcceptedVersionLoadsAndCarriesTheSaveAsTemplate) {
    HMODULE module = LoadLibraryW(QUILLON_DLL_NAME);
    ASSERT_NE(module, nullptr) << "GetLastError " << GetLastError();
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCEW(7010), MAKEINTRESOURCEW(5)), nullptr);
    // The library is usable: an exported function answers.
    auto parse = reinterpret_cast<double (*)(const wchar_t*, int*, int)>(
        reinterpret_cast<void*>(GetProcAddress(module, "parseStrToUnit")));
    ASSERT_NE(parse, nullptr);
    EXPECT_EQ(parse(L"1 km", nullptr, 0), 1000.0);
    FreeLibrary(module);
}

TEST_F(DllLoad, RejectedVersionFailsTheLoadAsInitialisationFailure) {
    for (const char* reject : {"*", "83886100", "0x05000014"}) {
        setVariable("HALYARDR_REJECT", reject);
        SetLastError(0);
        HMODULE module = LoadLibraryW(QUILLON_DLL_NAME);
        EXPECT_EQ(module, nullptr) << "HALYARDR_REJECT=" << reject;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DLL_INIT_FAILED)) << "HALYARDR_REJECT=" << reject;
        if (module != nullptr) FreeLibrary(module);
    }
}

TEST_F(DllLoad, OtherRejectedVersionsDoNotConcernThisBuild) {
    setVariable("HALYARDR_REJECT", "0x05000015");
    HMODULE module = LoadLibraryW(QUILLON_DLL_NAME);
    EXPECT_NE(module, nullptr) << "GetLastError " << GetLastError();
    if (module != nullptr) FreeLibrary(module);
}

TEST_F(DllLoad, ResourceHandOffComesBeforeVersionCheckAlsoOnRefusal) {
    for (const char* reject : {"", "*"}) {
        std::remove(trace_.c_str());
        setVariable("HALYARDR_REJECT", reject);
        HMODULE module = LoadLibraryW(QUILLON_DLL_NAME);
        if (module != nullptr) FreeLibrary(module);
        std::string trace = readTrace(trace_);
        std::size_t handOff = trace.find("LoadAPPResourceDLL module\n");
        std::size_t check = trace.find("CheckDllVersion 83886100 " QUILLON_FRAME_SOURCE "|");
        ASSERT_NE(handOff, std::string::npos) << trace;
        ASSERT_NE(check, std::string::npos) << trace;
        EXPECT_LT(handOff, check) << "with HALYARDR_REJECT=" << reject;
    }
}

// The DLL is gone after a refused load, so the frame's own record of what it
// did is read from the same frame code run in this program: with the real
// host stand-ins, a refusal stops it before the base start-up and before it
// joins the resource chain.
TEST_F(DllLoad, RefusedStartUpNeverReachesTheBaseStartUp) {
    CQuillonApp app;
    setVariable("HALYARDR_REJECT", "*");
    EXPECT_FALSE(quillon::frame::processAttach(GetModuleHandleW(nullptr)));
    int state = quillon::frame::moduleState();
    EXPECT_EQ(state & quillon::frame::kBaseStarted, 0) << "CWinApp::InitInstance ran after a refusal";
    EXPECT_EQ(state & quillon::frame::kInResourceChain, 0);

    setVariable("HALYARDR_REJECT", "");
    EXPECT_TRUE(quillon::frame::processAttach(GetModuleHandleW(nullptr)));
    state = quillon::frame::moduleState();
    EXPECT_NE(state & quillon::frame::kBaseStarted, 0);
    quillon::frame::processDetach();
}

}  // namespace
