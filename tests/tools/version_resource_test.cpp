// The built module's version resource: what a player sees in the file's
// properties.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quillmere_version.h"
#include "tests/support/scratch_folder.h"

namespace {

std::string string_value(std::vector<char>& data, const char* name) {
    std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
    char* value = NULL;
    UINT length = 0;
    if (!VerQueryValueA(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        !value)
        return "(none)";
    return value;
}

TEST(VersionResource, NamesTheProductItsVersionAndWhatItIs) {
    std::string module = built_module_path();
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(module.c_str(), &ignored);
    ASSERT_GT(size, 0u) << module;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(module.c_str(), 0, size, data.data()));

    EXPECT_EQ("Quillmere", string_value(data, "ProductName"));
    EXPECT_EQ("Quillmere cursor plug-in", string_value(data, "FileDescription"));
    EXPECT_EQ(QUILLMERE_VERSION_TEXT, string_value(data, "FileVersion"));
    EXPECT_EQ(QUILLMERE_VERSION_TEXT, string_value(data, "ProductVersion"));
    EXPECT_EQ("Quillmere.yrp", string_value(data, "OriginalFilename"));

    VS_FIXEDFILEINFO* fixed = NULL;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(QUILLMERE_VERSION_MINOR, QUILLMERE_VERSION_MAJOR)),
              fixed->dwFileVersionMS);
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, QUILLMERE_VERSION_PATCH)), fixed->dwFileVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_DLL), fixed->dwFileType);
}

}  // namespace
