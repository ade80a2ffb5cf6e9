// The settings-file stand-in on POSIX systems: what happens on disk. On
// Windows the library calls the real private-profile functions, so these
// tests of our own file handling do not apply there.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"
#include "test_support.h"

namespace {

using quillon::platform::profileInt;
using quillon::platform::writeProfileString;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::widen;
using testing_support::writeBytes;
namespace fs = std::filesystem;

class ProfileFile : public ::testing::Test {
protected:
    std::string file(const std::string& name = "s.ini") { return dir_.file(name); }
    std::wstring path(const std::string& name = "s.ini") { return widen(file(name)); }
    TempDir dir_;
};

TEST_F(ProfileFile, MissingFileReadsTheDefaultAndWritingCreatesIt) {
    EXPECT_EQ(profileInt(L"units", L"distUnits", 17, path().c_str()), 17);
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"3", path().c_str()));
    EXPECT_EQ(readBytes(file()), "[units]\r\ndistUnits=3\r\n");
    EXPECT_EQ(profileInt(L"UNITS", L"DISTUNITS", 17, path().c_str()), 3);
}

TEST_F(ProfileFile, GarbageValuesReadAsLeadingDigits) {
    writeBytes(file(), "[s]\na= 42abc\nb=abc\nc=\nd=-17\ne=4294967297\nf=+5\n");
    struct Case {
        const wchar_t* key;
        int value;
    };
    const Case cases[] = {{L"a", 42}, {L"b", 0}, {L"c", 99}, {L"d", -17}, {L"e", 1}, {L"f", 5}, {L"g", 99}};
    for (const Case& c : cases) {
        EXPECT_EQ(profileInt(L"s", c.key, 99, path().c_str()), c.value) << "key " << char(c.key[0]);
    }
}

TEST_F(ProfileFile, WriteReplacesTheFileAtomicallyAndLeavesNoTemporaryFile) {
    writeBytes(file(), "[units]\ndistUnits=1\n");
    struct stat before {};
    ASSERT_EQ(stat(file().c_str(), &before), 0);
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"2", path().c_str()));
    struct stat after {};
    ASSERT_EQ(stat(file().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the new text arrives by rename, never by rewriting in place";
    EXPECT_EQ((after.st_mode & 07777), (before.st_mode & 07777)) << "the file keeps its permissions";
    int entries = 0;
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
        (void)entry;
        ++entries;
    }
    EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFile, ReadOnlyFileAndDirectoryAreLeftAloneAndReportFailure) {
    writeBytes(file(), "[units]\ndistUnits=1\n");
    chmod(file().c_str(), 0444);
    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path().c_str()));
    EXPECT_EQ(readBytes(file()), "[units]\ndistUnits=1\n");

    fs::create_directory(file("dir.ini"));
    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path("dir.ini").c_str()));
    EXPECT_TRUE(fs::is_directory(file("dir.ini")));
    EXPECT_EQ(profileInt(L"units", L"distUnits", 5, path("dir.ini").c_str()), 5);

    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path("no/such/dir.ini").c_str()));
}

TEST_F(ProfileFile, SymbolicLinkIsFollowedAndKept) {
    writeBytes(file("real.ini"), "[units]\ndistUnits=1\n");
    fs::create_symlink(file("real.ini"), file("link.ini"));
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"2", path("link.ini").c_str()));
    EXPECT_TRUE(fs::is_symlink(file("link.ini")));
    EXPECT_EQ(readBytes(file("real.ini")), "[units]\ndistUnits=2\n");
}

TEST_F(ProfileFile, Utf16FileStaysUtf16) {
    const std::string bom = "\xff\xfe";
    auto utf16 = [](const std::string& ascii) {
        std::string out;
        for (char c : ascii) out += std::string{c, '\0'};
        return out;
    };
    writeBytes(file(), bom + utf16("[units]\r\ndistUnits=1\r\n"));
    EXPECT_EQ(profileInt(L"units", L"distUnits", 0, path().c_str()), 1);
    ASSERT_TRUE(writeProfileString(L"units", L"wpUnits", L"4", path().c_str()));
    EXPECT_EQ(readBytes(file()), bom + utf16("[units]\r\ndistUnits=1\r\nwpUnits=4\r\n"));
}

// Several processes, each saving its own key many times at the same time:
// every final value is there, and the file is whole.
TEST_F(ProfileFile, ConcurrentWritersNeverLoseEachOthersKeys) {
    writeBytes(file(), "; host\n[units]\n");
    constexpr int kWriters = 4;
    constexpr int kRounds = 40;
    pid_t children[kWriters];
    for (int w = 0; w < kWriters; ++w) {
        children[w] = fork();
        ASSERT_GE(children[w], 0);
        if (children[w] == 0) {
            std::wstring section = w % 2 == 0 ? L"units" : L"host" + std::to_wstring(w);
            std::wstring key = L"key" + std::to_wstring(w);
            bool ok = true;
            for (int r = 1; r <= kRounds; ++r) {
                ok &= writeProfileString(section.c_str(), key.c_str(), std::to_wstring(r).c_str(), path().c_str());
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w) {
        std::wstring section = w % 2 == 0 ? L"units" : L"host" + std::to_wstring(w);
        std::wstring key = L"key" + std::to_wstring(w);
        EXPECT_EQ(profileInt(section.c_str(), key.c_str(), -1, path().c_str()), kRounds) << "writer " << w;
    }
    EXPECT_EQ(readBytes(file()).rfind("; host\n[units]\n", 0), 0u);
}

// A disk that fills up in the middle of a save: the file-size limit makes
// the write of the temporary file fail part way, as a full disk would.
TEST_F(ProfileFile, FailedWriteOnAFullDiskLeavesTheOldFileWhole) {
    std::string original = "[units]\ndistUnits=1\n[host]\n" + std::string(20000, 'x') + "=1\n";
    writeBytes(file(), original);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        bool ok = writeProfileString(L"units", L"distUnits", L"2", path().c_str());
        _exit(ok ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the failed write must report failure";
    EXPECT_EQ(readBytes(file()), original);
}

// A process killed at any moment of a save leaves either the old text or the
// new one, never a truncated or mixed file.
TEST_F(ProfileFile, ProcessKilledMidSaveLeavesOldOrNewFile) {
    const std::string filler = "[host]\n" + std::string(2000000, 'h') + "=1\n";
    writeBytes(file(), "[units]\nvalue=0\n" + filler);
    for (int round = 1; round <= 12; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                writeProfileString(L"units", L"value", std::to_wstring(i % 2 ? 1 : 0).c_str(), path().c_str());
            }
        }
        usleep(static_cast<useconds_t>(3000 * round));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::string now = readBytes(file());
        bool whole = now == "[units]\nvalue=0\n" + filler || now == "[units]\nvalue=1\n" + filler;
        ASSERT_TRUE(whole) << "round " << round << ": " << now.size() << " bytes";
    }
}

TEST_F(ProfileFile, LargeFileWithNulBytesAndInvalidTextIsKept) {
    std::string junk(4000000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919) % 256);
    std::string original = "[units]\ndistUnits=1\n" + junk;
    writeBytes(file(), original);
    EXPECT_EQ(profileInt(L"units", L"distUnits", 0, path().c_str()), 1);
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"3", path().c_str()));
    std::string expected = original;
    expected[18] = '3';
    EXPECT_EQ(readBytes(file()), expected);
}

}  // namespace

#endif
