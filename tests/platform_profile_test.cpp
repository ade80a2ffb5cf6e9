// The settings-file stand-in on POSIX systems, under the faults a user's
// machine produces: no crash or hang, a failed save reports failure and
// leaves the file whole, and a save that succeeds loses nothing. On Windows
// the library calls the real private-profile functions instead.
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
    for (char16_t u : units) bytes += {char(u & 0xFF), char(u >> 8)};
    return bytes;
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

class Profile : public ::testing::Test {
protected:
    std::string file(const std::string& name = "s.ini") { return dir_.file(name); }
    std::wstring path(const std::string& name = "s.ini") { return widen(file(name)); }
    int read(const wchar_t* key, int fallback = -1, const std::string& name = "s.ini") {
        return profileInt(L"units", key, fallback, path(name).c_str());
    }
    bool write(const wchar_t* key, const wchar_t* value, const std::string& name = "s.ini") {
        return writeProfileString(L"units", key, value, path(name).c_str());
    }
    std::set<std::string> names(const std::string& dir = "") {
        std::set<std::string> out;
        for (const auto& entry : fs::directory_iterator(dir.empty() ? dir_.path() : file(dir)))
            out.insert(entry.path().filename().string());
        return out;
    }
    TempDir dir_;
};

TEST_F(Profile, ValuesReadAsLeadingDigitsAndASaveReplacesTheFileByRename) {
    EXPECT_EQ(read(L"distUnits", 17), 17);
    ASSERT_TRUE(write(L"distUnits", L"3"));
    EXPECT_EQ(readBytes(file()), "[units]\r\ndistUnits=3\r\n");
    EXPECT_EQ(profileInt(L"UNITS", L"DISTUNITS", 17, path().c_str()), 3);

    writeBytes(file(), "[units]\na= 42abc\nb=abc\nc=\nd=-17\ne=4294967297\nf=+5\n");
    const std::pair<const wchar_t*, int> rows[] = {{L"a", 42}, {L"b", 0}, {L"c", 99}, {L"d", -17},
                                                   {L"e", 1},  {L"f", 5}, {L"g", 99}};
    for (const auto& [key, value] : rows) EXPECT_EQ(read(key, 99), value) << "key " << char(key[0]);

    // A writer killed after it made its temporary file leaves that file
    // behind: later saves neither read nor overwrite it.
    writeBytes(file(), "[units]\ndistUnits=1\n");
    writeBytes(file("s.ini.AAAAAA"), "[units]\ndistUnits=9\n");
    chmod(file().c_str(), 0640);
    struct stat before {}, after {};
    ASSERT_EQ(stat(file().c_str(), &before), 0);
    ASSERT_TRUE(write(L"distUnits", L"2"));
    ASSERT_EQ(stat(file().c_str(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino) << "the new text arrives by rename, never by rewriting in place";
    EXPECT_EQ(after.st_mode & 07777, 0640u) << "the file keeps its permissions";
    EXPECT_EQ(readBytes(file()), "[units]\ndistUnits=2\n");
    EXPECT_EQ(readBytes(file("s.ini.AAAAAA")), "[units]\ndistUnits=9\n");
    EXPECT_EQ(names(), (std::set<std::string>{"s.ini", "s.ini.AAAAAA"}));

    // Bytes that are not text, NUL bytes included, are kept around the line.
    std::string junk(4000000, '\0');
    for (std::size_t i = 0; i < junk.size(); ++i) junk[i] = static_cast<char>((i * 7919) % 256);
    writeBytes(file(), "[units]\ndistUnits=1\n" + junk);
    EXPECT_EQ(read(L"distUnits"), 1);
    ASSERT_TRUE(write(L"distUnits", L"3"));
    EXPECT_EQ(readBytes(file()), "[units]\ndistUnits=3\n" + junk);
}

// Lone surrogates, NUL units and an odd last byte are not text a reader can
// decode, yet every unit of them is kept; a file of only a byte-order mark
// or of odd length stays UTF-16.
TEST_F(Profile, Utf16FilesStayUtf16AndKeepEveryUnit) {
    const std::u16string junk{0xD800, u'x', 0xDFFF, 0x0000, u'=', 0xDC00, 0xD83D, u'\r', u'\n'};
    const std::pair<std::string, std::string> rows[] = {  // before, and after setting [units] distUnits=3
        {"\xff\xfe", utf16le(u"\uFEFF[units]\r\ndistUnits=3\r\n")},
        {"\xff\xfe\x41", utf16le(u"\uFEFF[units]\r\ndistUnits=3\r\n") + "\x41"},
        {utf16le(u"\uFEFF[units]\ndistUnits=1") + "\x0a", utf16le(u"\uFEFF[units]\ndistUnits=3") + "\x0a"},
        {utf16le(u"\uFEFF[units]\r"), utf16le(u"\uFEFF[units]\r\r\ndistUnits=3\r\n")},  // a lone CR ends no line
        {utf16le(u"\uFEFF[units]\r\nwpUnits=1\r\n"), utf16le(u"\uFEFF[units]\r\nwpUnits=1\r\ndistUnits=3\r\n")},
        {utf16le(u"\uFEFF[units]\r\ndistUnits=1\r\n" + junk + u"[host]\r\nname=\uFFFE\0\r\n"s) + "\x7F",
         utf16le(u"\uFEFF[units]\r\ndistUnits=3\r\n" + junk + u"[host]\r\nname=\uFFFE\0\r\n"s) + "\x7F"},
    };
    for (const auto& [before, after] : rows) {
        writeBytes(file(), before);
        ASSERT_TRUE(write(L"distUnits", L"3"));
        EXPECT_EQ(readBytes(file()), after) << "from " << testing::PrintToString(before);
        EXPECT_EQ(read(L"distUnits"), 3);
    }
    EXPECT_EQ(profileInt(L"host", L"name", -1, path().c_str()), 0) << "a value without digits reads as 0";
    // Read as text, a surrogate pair is one wide character; a lone surrogate stays a unit of its own.
    const std::u16string units{0xD800, 0xDFFF, 0xDBFF, 0xDC00, 0xD83D, u'x', 0xDC00};  // U+103FF, U+10FC00, lone ones
    writeBytes(file(), utf16le(u"\uFEFF[host]\r\nname=" + units));
    const std::wstring expected = L"\U000103FF\U0010FC00" + std::wstring{wchar_t(0xD83D), L'x', wchar_t(0xDC00)};
    EXPECT_EQ(quillon::platform::profileString(L"host", L"name", path().c_str()).value_or(L"-"), expected);
}

// Links are followed and kept, a dangling one creates its target; a loop,
// a link to a directory, a directory, a read-only file, a missing folder
// and a FIFO (whose reading would wait for a writer that never comes) fail
// quietly and stay as they were.
TEST_F(Profile, LinksAreFollowedAndWhatCannotBeWrittenFailsQuietly) {
    writeBytes(file("real.ini"), "[units]\ndistUnits=1\n");
    fs::create_symlink(file("real.ini"), file("link.ini"));
    fs::create_directory(file("real"));
    fs::create_symlink("real/target.ini", file("dangling.ini"));
    for (const char* link : {"link.ini", "dangling.ini"}) {
        ASSERT_TRUE(write(L"distUnits", L"2", link)) << link;
        EXPECT_TRUE(fs::is_symlink(file(link))) << link;
        EXPECT_EQ(read(L"distUnits", -1, link), 2) << link;
    }
    EXPECT_EQ(readBytes(file("real.ini")), "[units]\ndistUnits=2\n");
    EXPECT_EQ(readBytes(file("real/target.ini")), "[units]\r\ndistUnits=2\r\n");
    EXPECT_EQ(names("real"), std::set<std::string>{"target.ini"});

    fs::create_symlink(file("b.ini"), file("a.ini"));
    fs::create_symlink(file("a.ini"), file("b.ini"));
    fs::create_directory(file("dir"));
    fs::create_directory(file("dir.ini"));
    fs::create_directory_symlink(file("dir"), file("dirlink.ini"));
    writeBytes(file("ro.ini"), "[units]\ndistUnits=1\n");
    chmod(file("ro.ini").c_str(), 0444);
    for (const char* name : {"a.ini", "dirlink.ini", "dir.ini", "ro.ini", "no/such/dir.ini"}) {
        EXPECT_FALSE(write(L"distUnits", L"2", name)) << name;
        EXPECT_EQ(read(L"distUnits", 7, name), std::string(name) == "ro.ini" ? 1 : 7) << name;
    }
    EXPECT_TRUE(fs::is_empty(file("dir")) && fs::is_empty(file("dir.ini")) &&
                !writeProfileString(L"units", L"distUnits", L"2", static_cast<const wchar_t*>(nullptr)));
    EXPECT_TRUE(fs::is_symlink(file("a.ini")) && fs::is_symlink(file("dirlink.ini")));
    EXPECT_EQ(readBytes(file("ro.ini")), "[units]\ndistUnits=1\n");

    ASSERT_EQ(mkfifo(file("fifo.ini").c_str(), 0644), 0);
    const int status = inChild([&] { return read(L"distUnits", 7, "fifo.ini") == 7 && !write(L"distUnits", L"2", "fifo.ini") ? 0 : 1; }, 5);
    EXPECT_EQ(status, 0) << "-1: the read or write blocked on the FIFO";
}

// A disk that fills up in the middle of a save (the file-size limit makes
// the write of the temporary file fail part way), no descriptor left for
// the temporary file (as on a disk without free inodes), and a process
// killed at any moment of a save: the file is the old one or the new one,
// never a truncated or mixed one, and a failed save says so.
TEST_F(Profile, FailedAndKilledSavesLeaveTheOldFileOrTheNewOne) {
    const std::string original = "[units]\ndistUnits=1\n[host]\n" + std::string(20000, 'x') + "=1\n";
    writeBytes(file(), original);
    const int fullDisk = inChild([&] {
        signal(SIGXFSZ, SIG_IGN);
        rlimit limit{8192, 8192};
        setrlimit(RLIMIT_FSIZE, &limit);
        return write(L"distUnits", L"2") ? 1 : 0;
    });
    EXPECT_EQ(fullDisk, 0) << "the write on a full disk must report failure";
    const int noDescriptor = inChild([&] {
        const std::wstring p = path();
        // Every descriptor from 3 on is free; the lock takes 3 and leaves none.
        for (int fd = 3; fd < 1024; ++fd) close(fd);
        rlimit limit{4, 4};
        if (setrlimit(RLIMIT_NOFILE, &limit) != 0) return 2;
        return writeProfileString(L"units", L"distUnits", L"2", p.c_str()) ? 1 : 0;
    });
    EXPECT_EQ(noDescriptor, 0) << "1: the save claimed success; 2: the limit could not be set";
    EXPECT_EQ(readBytes(file()), original);
    EXPECT_EQ(names(), std::set<std::string>{"s.ini"});

    const std::string filler = "[host]\n" + std::string(2000000, 'h') + "=1\n";
    writeBytes(file(), "[units]\nvalue=0\n" + filler);
    for (int round = 1; round <= 12; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            for (int i = 0;; ++i) write(L"value", i % 2 ? L"1" : L"0");
        usleep(static_cast<useconds_t>(3000 * round));
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        const std::string now = readBytes(file());
        ASSERT_TRUE(now == "[units]\nvalue=0\n" + filler || now == "[units]\nvalue=1\n" + filler)
            << "round " << round << ": " << now.size() << " bytes";
    }
}

// Several processes, each saving its own key many times at once, some into
// sections of their own: every final value arrives and the file is whole.
// Meanwhile the file is moved away and a directory put in its place, then
// taken away again: saves against the directory fail and leave it alone,
// and no temporary file stays.
TEST_F(Profile, ConcurrentWritersLoseNothingWhileTheFileIsReplacedByADirectory) {
    writeBytes(file(), "; host\n[units]\n");
    constexpr int kWriters = 4;
    auto sectionOf = [](int w) { return w % 2 == 0 ? std::wstring(L"units") : L"h\u00f4te" + std::to_wstring(w); };
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const std::wstring section = sectionOf(w), key = L"key" + std::to_wstring(w), p = path();
            for (int i = 0; access(file("stop").c_str(), F_OK) != 0; ++i)
                writeProfileString(section.c_str(), key.c_str(), std::to_wstring(i).c_str(), p.c_str());
            // The last save, after the directory has gone for good, must succeed.
            _exit(writeProfileString(section.c_str(), key.c_str(), L"999", p.c_str()) ? 0 : 1);
        }
        children.push_back(child);
    }
    for (int round = 0; round < 20; ++round) {
        usleep(2000);
        ASSERT_EQ(mkdir(file("dir.tmp").c_str(), 0755), 0);
        ASSERT_EQ(rename(file().c_str(), file("moved.ini").c_str()), 0);
        for (int tries = 0; rename(file("dir.tmp").c_str(), file().c_str()) != 0; ++tries) {
            ASSERT_LT(tries, 1000) << "round " << round << ": the directory could not be put in place";
            unlink(file().c_str());  // a save recreated the file in the moment it was away
        }
        usleep(2000);
        EXPECT_TRUE(fs::is_empty(file())) << "round " << round << ": a writer wrote into the directory";
        ASSERT_EQ(rmdir(file().c_str()), 0);
        ASSERT_EQ(rename(file("moved.ini").c_str(), file().c_str()), 0);
    }
    writeBytes(file("stop"), "");
    for (pid_t child : children) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer crashed or its last save failed";
    }
    for (int w = 0; w < kWriters; ++w)
        EXPECT_EQ(profileInt(sectionOf(w).c_str(), (L"key" + std::to_wstring(w)).c_str(), -1, path().c_str()), 999)
            << "writer " << w;
    EXPECT_EQ(readBytes(file()).rfind("; host\n[units]\n", 0), 0u);
    EXPECT_EQ(names(), (std::set<std::string>{"s.ini", "stop"}));
}

}  // namespace

#endif
