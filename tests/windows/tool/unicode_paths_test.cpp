// quillon.exe with file and folder names beyond the code page: a log named
// on the command line, a settings file named with --units, and the default
// settings folder under an %APPDATA% of such a name. Each name goes into the
// program through the wide command line and environment, as Explorer and a
// Unicode shell pass them.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

namespace {

std::wstring folderOfThisProgram() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? char(c) : '?';
    return out;
}

bool writeFile(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    return static_cast<bool>(out << bytes);
}

std::string readFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// "$body*hh" with the body's checksum.
std::string sentence(const std::string& body) {
    unsigned sum = 0;
    for (char c : body) sum ^= static_cast<unsigned char>(c);
    char tail[8];
    std::snprintf(tail, sizeof tail, "*%02X\r\n", sum);
    return "$" + body + tail;
}

struct ToolRun {
    DWORD status = 9999;
    std::string out;
};

// Runs quillon.exe in `folder` with the arguments, standard output to a file.
ToolRun runTool(const std::wstring& folder, const std::wstring& arguments) {
    ToolRun run;
    const std::wstring outPath = folder + L"\\stdout.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) return run;
    std::wstring command = L"\"" + folderOfThisProgram() + L"quillon.exe\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = out;
    startup.hStdError = out;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(), &startup,
                       &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &run.status);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(out);
    run.out = readFile(outPath);
    return run;
}

class ToolUnicodePaths : public testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"quillon \u00c6r\u00f8 \u6e2c\u91cf " + std::to_wstring(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr)) << "GetLastError " << GetLastError();
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(folder_), ignored);
    }

    std::wstring folder_;
};

// The settings file, named with --units, is written by one run and read by the next.
TEST_F(ToolUnicodePaths, ReadsALogAndWritesASettingsFileWhoseNamesTheCodePageCannotSpell) {
    const std::string log = sentence("GPGGA,123519.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") +
                            sentence("GPGGA,123520.00,4807.040,N,01131.002,E,1,08,0.9,545.6,M,46.9,M,,");
    // Latin-1, CJK, and a character beyond U+FFFF (a surrogate pair).
    const std::wstring names[] = {L"Z\u00fcrich.nmea", L"\u00d8rsted \u6e2c\u91cf.nmea", L"\U0001F4CD pin.nmea"};
    const std::wstring settings = folder_ + L"\\\u6e2c\u91cf units.ini";
    const ToolRun set = runTool(folder_, L"units set distUnits ft --units \"" + settings + L"\"");
    EXPECT_EQ(set.status, 0u) << set.out;
    EXPECT_NE(readFile(settings).find("distUnits=1"), std::string::npos) << set.out;
    for (const std::wstring& name : names) {
        ASSERT_TRUE(writeFile(folder_ + L"\\" + name, log)) << narrow(name);
        const ToolRun run = runTool(folder_, L"track --units \"" + settings + L"\" \"" + name + L"\"");
        EXPECT_EQ(run.status, 0u) << narrow(name) << "\n" << run.out;
        EXPECT_NE(run.out.find("fixes               2"), std::string::npos) << narrow(name) << "\n" << run.out;
        EXPECT_NE(run.out.find("msl ft"), std::string::npos) << "the settings were not read\n" << run.out;
    }
}

TEST_F(ToolUnicodePaths, KeepsItsDefaultSettingsUnderAnAppDataOfAnyName) {
    const std::wstring appData = folder_ + L"\\\u00c6r\u00f8 \u6e2c\u91cf";
    ASSERT_TRUE(CreateDirectoryW(appData.c_str(), nullptr));
    wchar_t saved[MAX_PATH * 2];
    const DWORD had = GetEnvironmentVariableW(L"APPDATA", saved, MAX_PATH * 2);
    SetEnvironmentVariableW(L"APPDATA", appData.c_str());
    const ToolRun run = runTool(folder_, L"units set distUnits km");
    SetEnvironmentVariableW(L"APPDATA", had > 0 ? saved : nullptr);
    EXPECT_EQ(run.status, 0u) << run.out;
    EXPECT_NE(readFile(appData + L"\\quillon\\quillon.ini").find("distUnits=3"), std::string::npos) << run.out;
}

}  // namespace
