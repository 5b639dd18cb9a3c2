// The version resources of the built module, check tool and settings
// window: what a player sees in a file's properties.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "quillmere_version.h"
#include "support/scratch_folder.h"

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

struct VersionedFile {
    std::string path;
    const char* description;
    const char* original_name;
    DWORD file_type;
};

TEST(VersionResource, NamesTheProductItsVersionAndWhatItIs) {
    const VersionedFile files[] = {
        {built_module_path(), "Quillmere cursor plug-in", "Quillmere.yrp", VFT_DLL},
        {program_folder() + "\\..\\tools\\quillmere_check.exe", "Quillmere cursor check",
         "quillmere_check.exe", VFT_APP},
        {program_folder() + "\\..\\tools\\quillmere_settings.exe", "Quillmere settings",
         "quillmere_settings.exe", VFT_APP},
    };
    for (const VersionedFile& file : files) {
        DWORD ignored = 0;
        DWORD size = GetFileVersionInfoSizeA(file.path.c_str(), &ignored);
        ASSERT_GT(size, 0u) << file.path;
        std::vector<char> data(size);
        ASSERT_TRUE(GetFileVersionInfoA(file.path.c_str(), 0, size, data.data()));

        EXPECT_EQ("Quillmere", string_value(data, "ProductName"));
        EXPECT_EQ(file.description, string_value(data, "FileDescription"));
        EXPECT_EQ(QUILLMERE_VERSION_TEXT, string_value(data, "FileVersion"));
        EXPECT_EQ(QUILLMERE_VERSION_TEXT, string_value(data, "ProductVersion"));
        EXPECT_EQ(file.original_name, string_value(data, "OriginalFilename"));

        VS_FIXEDFILEINFO* fixed = NULL;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(QUILLMERE_VERSION_MINOR, QUILLMERE_VERSION_MAJOR)),
                  fixed->dwFileVersionMS);
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(0, QUILLMERE_VERSION_PATCH)), fixed->dwFileVersionLS);
        EXPECT_EQ(file.file_type, fixed->dwFileType) << file.path;
    }
}

}  // namespace
