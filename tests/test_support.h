// Helpers shared by the tests.
#ifndef QUILLON_TESTS_TEST_SUPPORT_H
#define QUILLON_TESTS_TEST_SUPPORT_H

#include <string>

namespace testing_support {

// A fresh empty directory under the system's temporary directory, removed
// with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::wstring widen(const std::string& text);
std::string readBytes(const std::string& path);
void writeBytes(const std::string& path, const std::string& bytes);

// The folder of real receiver logs, or "" when it is not there.
std::string nmeaDir();

}  // namespace testing_support

// Skips the current test when the real logs are not beside the project.
#define QUILLON_REQUIRE_NMEA_LOGS()                                                            \
    do {                                                                                   \
        if (testing_support::nmeaDir().empty())                                            \
            GTEST_SKIP() << "real NMEA logs not found at " QUILLON_NMEA_DIR                 \
                            " (the shared/data/nmea folder beside the project)";           \
    } while (0)

#endif
