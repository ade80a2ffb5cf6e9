// The settings file under the faults a user's machine produces beyond those
// of platform_profile_file_test.cpp: damaged UTF-16, the file turned into a
// directory while other processes save, dangling links, a FIFO, temporary
// files left by a killed writer, and a temporary file that cannot be made.
// Each case: no crash or hang, a failed save reports failure and leaves the
// file whole, and a save that succeeds loses nothing.
#include <gtest/gtest.h>

#if !defined(_WIN32)

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

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
using namespace std::string_literals;

std::string utf16le(const std::u16string& units) {
    std::string bytes;
    for (char16_t u : units) {
        bytes += char(u & 0xFF);
        bytes += char(u >> 8);
    }
    return bytes;
}

std::set<std::string> namesIn(const std::string& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename().string());
    return names;
}

// Runs body in a child process and returns its exit status (-1 when it was
// killed, e.g. by the alarm that stops a hang).
template <class Body>
int inChild(Body body, unsigned alarmSeconds = 20) {
    pid_t child = fork();
    if (child == 0) {
        alarm(alarmSeconds);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ProfileFaults : public ::testing::Test {
protected:
    std::string file(const std::string& name = "s.ini") { return dir_.file(name); }
    std::wstring path(const std::string& name = "s.ini") { return widen(file(name)); }
    TempDir dir_;
};

// Lone surrogates, NUL units and an odd last byte are not text a reader can
// decode, yet every unit of them is kept exactly around the changed line.
TEST_F(ProfileFaults, DamagedUtf16FileKeepsEveryUnitAroundTheChangedLine) {
    const std::u16string head = u"\uFEFF[units]\r\ndistUnits=1\r\n";
    const std::u16string junk{0xD800, u'x', 0xDFFF, 0x0000, u'=', 0xDC00, 0xD83D, u'\r', u'\n'};
    const std::u16string tail = u"[host]\r\nname=\uFFFE\0\r\n"s;
    const std::string oddByte = "\x7F";
    writeBytes(file(), utf16le(head + junk + tail) + oddByte);

    EXPECT_EQ(profileInt(L"units", L"distUnits", -1, path().c_str()), 1);
    EXPECT_EQ(profileInt(L"host", L"name", -1, path().c_str()), 0) << "a value without digits reads as 0";
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"4", path().c_str()));
    ASSERT_TRUE(writeProfileString(L"host", L"wpUnits", L"2", path().c_str()));

    const std::u16string expected =
        u"\uFEFF[units]\r\ndistUnits=4\r\n" + junk + u"[host]\r\nname=\uFFFE\0\r\nwpUnits=2\r\n"s;
    EXPECT_EQ(readBytes(file()), utf16le(expected) + oddByte);
    EXPECT_EQ(profileInt(L"host", L"wpUnits", -1, path().c_str()), 2);
}

TEST_F(ProfileFaults, Utf16FileOfOddLengthOrOnlyAByteOrderMarkStaysUtf16) {
    struct Case {
        std::string before;
        std::string after;  // after setting [units] distUnits=3
    };
    const Case cases[] = {
        {"\xff\xfe", utf16le(u"\uFEFF[units]\r\ndistUnits=3\r\n")},
        {"\xff\xfe\x41", utf16le(u"\uFEFF[units]\r\ndistUnits=3\r\n") + "\x41"},
        {utf16le(u"\uFEFF[units]\ndistUnits=1") + "\x0a", utf16le(u"\uFEFF[units]\ndistUnits=3") + "\x0a"},
    };
    for (const Case& c : cases) {
        writeBytes(file(), c.before);
        ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"3", path().c_str()));
        EXPECT_EQ(readBytes(file()), c.after) << "from " << testing::PrintToString(c.before);
        EXPECT_EQ(profileInt(L"units", L"distUnits", -1, path().c_str()), 3);
    }
}

// Stops the writer processes however the test ends: they save until the
// stop file appears.
class WriterProcesses {
public:
    explicit WriterProcesses(std::string stopFile) : stopFile_(std::move(stopFile)) {}
    ~WriterProcesses() { stopAndCollect(); }
    void add(pid_t child) { children_.push_back(child); }
    bool stopRequested() const { return access(stopFile_.c_str(), F_OK) == 0; }
    // Exit statuses, -1 for a writer that did not exit normally.
    std::vector<int> stopAndCollect() {
        writeBytes(stopFile_, "");
        std::vector<int> statuses;
        for (pid_t child : children_) {
            int status = 0;
            waitpid(child, &status, 0);
            statuses.push_back(WIFEXITED(status) ? WEXITSTATUS(status) : -1);
        }
        children_.clear();
        return statuses;
    }

private:
    std::string stopFile_;
    std::vector<pid_t> children_;
};

// While several processes save, the file is moved away and a directory put
// in its place, then taken away again. Saves against the directory fail and
// leave it alone (a save may recreate the file in the moment it is away;
// that file is thrown away); nothing crashes; no temporary file stays; the
// saves after it all arrive.
TEST_F(ProfileFaults, FileReplacedByADirectoryWhileWritersRun) {
    writeBytes(file(), "[units]\n");
    constexpr int kWriters = 3;
    WriterProcesses writers(file("stop"));
    for (int w = 0; w < kWriters; ++w) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::wstring key = L"key" + std::to_wstring(w);
            const std::wstring p = path();
            for (int i = 0; !writers.stopRequested(); ++i)
                writeProfileString(L"units", key.c_str(), std::to_wstring(i).c_str(), p.c_str());
            // The last save, after the directory has gone for good, must succeed.
            _exit(writeProfileString(L"units", key.c_str(), L"999", p.c_str()) ? 0 : 1);
        }
        writers.add(child);
    }
    for (int round = 0; round < 20; ++round) {
        usleep(2000);
        ASSERT_EQ(mkdir(file("dir.tmp").c_str(), 0755), 0);
        ASSERT_EQ(rename(file().c_str(), file("moved.ini").c_str()), 0);
        for (int tries = 0; rename(file("dir.tmp").c_str(), file().c_str()) != 0; ++tries) {
            ASSERT_LT(tries, 1000) << "round " << round << ": the directory could not be put in place";
            unlink(file().c_str());
        }
        usleep(2000);
        EXPECT_TRUE(fs::is_empty(file())) << "round " << round << ": a writer wrote into the directory";
        ASSERT_EQ(rmdir(file().c_str()), 0);
        ASSERT_EQ(rename(file("moved.ini").c_str(), file().c_str()), 0);
    }
    const std::vector<int> statuses = writers.stopAndCollect();
    for (int w = 0; w < kWriters; ++w) {
        EXPECT_EQ(statuses[std::size_t(w)], 0) << "writer " << w << " crashed (-1) or its last save failed (1)";
        const std::wstring key = L"key" + std::to_wstring(w);
        EXPECT_EQ(profileInt(L"units", key.c_str(), -1, path().c_str()), 999)
            << "writer " << w << ", file:\n" << readBytes(file());
    }
    EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"s.ini", "stop"}));
}

// A link whose target does not exist yet: the save creates the target
// through the link and keeps the link, as it does for an existing target.
TEST_F(ProfileFaults, DanglingSymbolicLinkCreatesItsTargetAndStaysALink) {
    fs::create_directory(file("real"));
    fs::create_symlink("real/target.ini", file("link.ini"));
    ASSERT_TRUE(writeProfileString(L"units", L"distUnits", L"2", path("link.ini").c_str()));
    EXPECT_TRUE(fs::is_symlink(file("link.ini")));
    EXPECT_EQ(readBytes(file("real/target.ini")), "[units]\r\ndistUnits=2\r\n");
    EXPECT_EQ(profileInt(L"units", L"distUnits", -1, path("link.ini").c_str()), 2);
    EXPECT_EQ(namesIn(file("real")), std::set<std::string>{"target.ini"});
}

TEST_F(ProfileFaults, LinkLoopAndLinkToADirectoryFailQuietly) {
    fs::create_symlink(file("b.ini"), file("a.ini"));
    fs::create_symlink(file("a.ini"), file("b.ini"));
    EXPECT_EQ(profileInt(L"units", L"distUnits", 7, path("a.ini").c_str()), 7);
    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path("a.ini").c_str()));
    fs::create_directory(file("dir"));
    fs::create_directory_symlink(file("dir"), file("dirlink.ini"));
    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path("dirlink.ini").c_str()));
    EXPECT_TRUE(fs::is_empty(file("dir")));
    EXPECT_TRUE(fs::is_symlink(file("a.ini")) && fs::is_symlink(file("b.ini")) && fs::is_symlink(file("dirlink.ini")));
}

// Reading a FIFO would wait for a writer that never comes.
TEST_F(ProfileFaults, FifoInsteadOfAFileReadsTheFallbackWithoutWaiting) {
    ASSERT_EQ(mkfifo(file().c_str(), 0644), 0);
    const int status = inChild([&] {
        const bool read = profileInt(L"units", L"distUnits", 7, path().c_str()) == 7;
        const bool refused = !writeProfileString(L"units", L"distUnits", L"2", path().c_str());
        return read && refused ? 0 : 1;
    }, 5);
    EXPECT_EQ(status, 0) << "-1: the read or write blocked on the FIFO";
}

// A writer killed after it made its temporary file leaves that file behind.
// Later saves neither read it nor overwrite it, and they succeed.
TEST_F(ProfileFaults, StaleTemporaryFilesDoNotDisturbLaterSaves) {
    writeBytes(file(), "[units]\ndistUnits=1\n");
    writeBytes(file("s.ini.AAAAAA"), "[units]\ndistUnits=9\n");
    writeBytes(file("s.ini.zzzzzz"), "");
    for (int i = 2; i <= 4; ++i) {
        ASSERT_TRUE(writeProfileString(L"units", L"distUnits", std::to_wstring(i).c_str(), path().c_str()));
        EXPECT_EQ(profileInt(L"units", L"distUnits", -1, path().c_str()), i);
    }
    EXPECT_EQ(readBytes(file()), "[units]\ndistUnits=4\n");
    EXPECT_EQ(readBytes(file("s.ini.AAAAAA")), "[units]\ndistUnits=9\n");
    EXPECT_EQ(namesIn(dir_.path()), (std::set<std::string>{"s.ini", "s.ini.AAAAAA", "s.ini.zzzzzz"}));
}

// No temporary file can be made (here: no file descriptor is left for it,
// as on a disk without free inodes): the save fails and changes nothing.
TEST_F(ProfileFaults, SaveWithoutRoomForTheTemporaryFileFailsAndKeepsTheFile) {
    const std::string original = "[units]\ndistUnits=1\n";
    writeBytes(file(), original);
    const int status = inChild([&] {
        const std::wstring p = path();
        // Every descriptor from 3 on is free; the lock takes 3 and leaves none.
        for (int fd = 3; fd < 1024; ++fd) close(fd);
        rlimit limit{4, 4};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 2;
        return writeProfileString(L"units", L"distUnits", L"2", p.c_str()) ? 1 : 0;
    });
    EXPECT_EQ(status, 0) << "1: the save claimed success; 2: the limit could not be set";
    EXPECT_EQ(readBytes(file()), original);
    EXPECT_EQ(namesIn(dir_.path()), std::set<std::string>{"s.ini"});
}

TEST_F(ProfileFaults, ReadOnlyDirectoryFailsTheSaveAndKeepsTheFile) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes into a read-only directory regardless of its mode";
    const std::string original = "[units]\ndistUnits=1\n";
    fs::create_directory(file("ro"));
    writeBytes(file("ro/s.ini"), original);
    chmod(file("ro").c_str(), 0555);
    EXPECT_FALSE(writeProfileString(L"units", L"distUnits", L"2", path("ro/s.ini").c_str()));
    EXPECT_EQ(profileInt(L"units", L"distUnits", -1, path("ro/s.ini").c_str()), 1);
    chmod(file("ro").c_str(), 0755);
    EXPECT_EQ(readBytes(file("ro/s.ini")), original);
}

// Writers of a UTF-16 file, each on its own section: every last value
// arrives and the file stays UTF-16 with its byte-order mark.
TEST_F(ProfileFaults, ConcurrentWritersOfAUtf16FileKeepItWhole) {
    writeBytes(file(), utf16le(u"\uFEFF; host\r\n"));
    constexpr int kWriters = 3;
    constexpr int kRounds = 30;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::wstring section = L"s\u00e9ction" + std::to_wstring(w);
            bool ok = true;
            for (int r = 1; r <= kRounds; ++r)
                ok &= writeProfileString(section.c_str(), L"value", std::to_wstring(r).c_str(), path().c_str());
            _exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w) {
        const std::wstring section = L"s\u00e9ction" + std::to_wstring(w);
        EXPECT_EQ(profileInt(section.c_str(), L"value", -1, path().c_str()), kRounds) << "writer " << w;
    }
    const std::string bytes = readBytes(file());
    EXPECT_EQ(bytes.rfind(utf16le(u"\uFEFF; host\r\n"), 0), 0u);
    EXPECT_EQ(bytes.size() % 2, 0u);
}

}  // namespace

#endif
