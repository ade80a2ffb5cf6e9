// The resource table of the builds without a resource section is the
// resource script compiled: windres compiles quillon.rc again and every
// resource must come out byte for byte as the committed table has it. (The
// Windows build links the same script into quillon.dll; the Wine tests
// compare the DLL with this table.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>

#include "resources/resource_table.h"
#include "test_support.h"

namespace {

using quillon::resources::kModuleResourceCount;
using quillon::resources::kModuleResources;

#if defined(QUILLON_WINDRES)

using ResourceKey = std::tuple<int, int, int>;  // type, id, language

std::uint32_t readWord(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
std::uint32_t readDword(const std::string& bytes, std::size_t at) {
    return readWord(bytes, at) | readWord(bytes, at + 2) << 16;
}

// The resources of a .res file with numeric types and names; a named one
// gets -1 as its type or identifier.
std::map<ResourceKey, std::string> readResFile(const std::string& bytes) {
    std::map<ResourceKey, std::string> resources;
    for (std::size_t at = 0; at + 32 <= bytes.size();) {
        const std::uint32_t size = readDword(bytes, at), headerSize = readDword(bytes, at + 4);
        std::size_t field = at + 8;
        int numbers[2];
        for (int& number : numbers) {
            if (readWord(bytes, field) == 0xFFFF) {
                number = static_cast<int>(readWord(bytes, field + 2));
                field += 4;
            } else {
                number = -1;
                while (readWord(bytes, field) != 0) field += 2;
                field += 2;
            }
        }
        field = (field + 3) & ~std::size_t{3};
        const int language = static_cast<int>(readWord(bytes, field + 6));
        if (size > 0) resources[{numbers[0], numbers[1], language}] = bytes.substr(at + headerSize, size);
        at = (at + headerSize + size + 3) & ~std::size_t{3};
    }
    return resources;
}

TEST(ResourceTable, MatchesTheCompiledResourceScript) {
    testing_support::TempDir dir;
    const std::string res = dir.file("quillon.res");
    const std::string command = "cd \"" QUILLON_RESOURCE_DIR "\" && \"" QUILLON_WINDRES "\" quillon.rc -O res -o \"" +
                                res + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    const std::map<ResourceKey, std::string> compiled = readResFile(testing_support::readBytes(res));

    std::map<ResourceKey, std::string> table;
    for (std::size_t i = 0; i < kModuleResourceCount; ++i) {
        const auto& entry = kModuleResources[i];
        table[{entry.type, entry.id, entry.language}] =
            std::string(reinterpret_cast<const char*>(entry.data), entry.size);
    }
    ASSERT_EQ(compiled.size(), table.size()) << "run scripts/gen_resource_table.py after changing quillon.rc";
    for (const auto& [key, bytes] : compiled) {
        const auto& [type, id, language] = key;
        auto found = table.find(key);
        ASSERT_NE(found, table.end()) << "type " << type << " id " << id << " language " << language
                                      << " is not in the table; run scripts/gen_resource_table.py";
        EXPECT_EQ(found->second, bytes) << "type " << type << " id " << id
                                        << " differs from quillon.rc; run scripts/gen_resource_table.py";
    }
}

#else

TEST(ResourceTable, MatchesTheCompiledResourceScript) {
    GTEST_SKIP() << "x86_64-w64-mingw32-windres not found (Debian binutils-mingw-w64-x86-64), "
                    "or running as a Windows program";
}

#endif

}  // namespace
