// The settings window's change to the settings file: the Size value and
// nothing else, in every encoding Notepad saves; and the file replaced whole.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/scratch_folder.h"
#include "tools/settings_window/settings_file.h"

namespace {

// ASCII text as UTF-16 bytes, little or big endian, with the mark.
std::string utf16(const std::string& text, bool little_endian = true) {
    std::string bytes = little_endian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : text) {
        bytes += little_endian ? c : '\0';
        bytes += little_endian ? '\0' : c;
    }
    return bytes;
}

const char MARK[] = "\xEF\xBB\xBF";

TEST(SettingsFile, ChangesTheSizeValueAndNothingElse) {
    struct Case {
        const char* name;
        std::string in, out;
    };
    const Case cases[] = {
        {"comment after the value, blank lines, indentation",
         "; mine\r\n\r\n  [Cursor]\r\n\r\n   Size = 3.0   ; my favourite\r\n\r\n",
         "; mine\r\n\r\n  [Cursor]\r\n\r\n   Size = 2.5   ; my favourite\r\n\r\n"},
        {"only the first Size under [Cursor]; the others stay",
         "Size=9\n[cursor]\nSIZE=3\nsize=4\n[Other]\nSize=5",
         "Size=9\n[cursor]\nSIZE=2.5\nsize=4\n[Other]\nSize=5"},
        {"an empty value", "[Cursor]\r\nSize=\r\n[x]\r\n",
         "[Cursor]\r\nSize=2.5\r\n[x]\r\n"},
        {"a word after the number", "[Cursor]\nSize=150 %\n", "[Cursor]\nSize=2.5\n"},
        {"no Size line: right under [Cursor]", "[Cursor]\nKey=1\n", "[Cursor]\nSize=2.5\nKey=1\n"},
        {"[Cursor] the last line, no line end", "; a\r\n[Cursor]",
         "; a\r\n[Cursor]\r\nSize=2.5\r\n"},
        {"no [Cursor]: added at the end", "[Other]\nA=1", "[Other]\nA=1\n[Cursor]\nSize=2.5\n"},
        {"empty file", "", "[Cursor]\r\nSize=2.5\r\n"},
        {"UTF-8 with its mark, letters kept",
         std::string(MARK) + "[Cursor]\r\nSize=3.0 ; \xC3\xA9t\xC3\xA9\r\n",
         std::string(MARK) + "[Cursor]\r\nSize=2.5 ; \xC3\xA9t\xC3\xA9\r\n"},
        {"UTF-8 mark only", std::string(MARK), std::string(MARK) + "[Cursor]\r\nSize=2.5\r\n"},
        {"ANSI letters", "; \xE9t\xE9\r\n[Cursor]\r\nSize=0\r\n",
         "; \xE9t\xE9\r\n[Cursor]\r\nSize=2.5\r\n"},
        {"UTF-16 with its mark", utf16("\r\n[Cursor]\r\n  Size=0 ;x\r\n"),
         utf16("\r\n[Cursor]\r\n  Size=2.5 ;x\r\n")},
        {"UTF-16 big endian", utf16("[Cursor]\r\nSize=0\r\n", false),
         utf16("[Cursor]\r\nSize=2.5\r\n", false)},
        {"UTF-16 without [Cursor]", utf16("; x"), utf16("; x\r\n[Cursor]\r\nSize=2.5\r\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.out, with_size(c.in, "2.5"));
    }
    // A UTF-16 character whose low byte is a line feed or '[' is no such thing.
    std::string letters = utf16("[Cursor]\r\nSize=1 ; ");
    letters += std::string("\x0A\x4E\x5B\x30", 4);
    EXPECT_EQ(utf16("[Cursor]\r\nSize=2.5 ; ") + std::string("\x0A\x4E\x5B\x30", 4),
              with_size(letters, "2.5"));
}

TEST(SettingsFile, RemovesOnlyTheSizeLinesTheGameNeverReads) {
    struct Case {
        const char* name;
        std::string in, out;
        int removed;
    };
    const Case cases[] = {
        {"above, second, another section",
         "Size=1\r\n\r\n[Cursor]\r\n; c\r\nSize=2 ; kept\r\nSize=3\r\n[Cursors]\r\nSize=4\r\nA=1",
         "\r\n[Cursor]\r\n; c\r\nSize=2 ; kept\r\n[Cursors]\r\nA=1", 3},
        {"none", "[Cursor]\nSize=2\n", "[Cursor]\nSize=2\n", 0},
        {"UTF-16", utf16("[Cursor]\r\nSize=2\r\n[X]\r\nSize=5"), utf16("[Cursor]\r\nSize=2\r\n[X]\r\n"),
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        int removed = -1;
        EXPECT_EQ(c.out, without_stray_sizes(c.in, &removed));
        EXPECT_EQ(c.removed, removed);
    }
}

TEST(SettingsFile, IsReplacedWholeOrLeftAsItWas) {
    ScratchFolder scratch;
    const std::wstring path = L"plugin\\Quillmere.ini";
    ASSERT_TRUE(write_file("plugin\\Quillmere.ini", "old"));
    ASSERT_TRUE(SetFileAttributesA("plugin\\Quillmere.ini", FILE_ATTRIBUTE_HIDDEN));
    DWORD error = 0;
    EXPECT_TRUE(replace_file(path, "new", &error));
    EXPECT_EQ("new", read_file("plugin\\Quillmere.ini"));
    // The player's hidden file stays hidden.
    EXPECT_TRUE(GetFileAttributesA("plugin\\Quillmere.ini") & FILE_ATTRIBUTE_HIDDEN);
    std::string bytes;
    EXPECT_TRUE(read_whole_file(path, &bytes, &error));
    EXPECT_EQ("new", bytes);
    // A folder in the way: nothing replaced, nothing left beside it.
    ASSERT_TRUE(CreateDirectoryA("plugin\\Folder.ini", NULL));
    EXPECT_FALSE(replace_file(L"plugin\\Folder.ini", "x", &error));
    EXPECT_NE(0u, error);
    EXPECT_TRUE(folder_exists("plugin\\Folder.ini"));
    EXPECT_TRUE(RemoveDirectoryA("plugin\\Folder.ini"));
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA("plugin\\*.tmp", &entry);
    EXPECT_EQ(INVALID_HANDLE_VALUE, search) << entry.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

}  // namespace
