// Changing the settings file as the player keeps it: the Size line the game
// reads gets its new value and every other byte stays (blank lines,
// indentation, comments, a comment after the value, the line endings and the
// encoding: ANSI, UTF-8 with or without its mark, UTF-16 with its mark).
// The file is replaced whole, so a failure leaves the old one as it was.
#pragma once

#include <windows.h>

#include <string>

// The file's bytes with `value` as the Size the game reads: the value of the
// first Size line under [Cursor] replaced (what follows it, from a ';' or
// '#' on, kept with the blanks before it), else a Size line put right under
// the first [Cursor] line, else [Cursor] and Size added at the end.
std::string with_size(const std::string& bytes, const std::string& value);

// The same for any key under [Cursor] (Edges): its first line there gets
// `value`, else a line is put right under the first [Cursor] line.
std::string with_setting(const std::string& bytes, const char* key, const std::string& value);

// The file's bytes without the Size lines the game never reads: above every
// section line, under another section, a second one under [Cursor]. `removed`
// (may be null) counts them.
std::string without_stray_sizes(const std::string& bytes, int* removed);

// Reads the whole file at `path`; false (with the Windows error in `error`)
// when it can't be read.
bool read_whole_file(const std::wstring& path, std::string* bytes, DWORD* error);

// Writes `bytes` to a file beside `path`, then renames that over `path`;
// false, with the Windows error in `error`, when either step fails, and
// `path` is then as it was.
bool replace_file(const std::wstring& path, const std::string& bytes, DWORD* error);
