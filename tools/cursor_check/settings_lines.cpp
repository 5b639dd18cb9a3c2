#include "tools/cursor_check/settings_lines.h"

#include <windows.h>

#include <string.h>

#include "settings/edge_setting.h"
#include "settings/scale_policy.h"
#include "tools/cursor_check/console_text.h"

namespace {

// A settings file is a few lines; anything past this is not read for lines.
const DWORD LARGEST_READ = 1 << 20;
const char UTF8_MARK[] = "\xEF\xBB\xBF";
const unsigned char UTF16_MARK[] = {0xFF, 0xFE};
const char BLANKS[] = " \t";

std::string trimmed(const std::string& text) {
    size_t first = text.find_first_not_of(BLANKS);
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(BLANKS) - first + 1);
}

bool same_word(const std::string& text, const char* word) {
    return lstrcmpiW(wide(text).c_str(), wide(word).c_str()) == 0;
}

}  // namespace

std::string settings_file_text(const char* file) {
    HANDLE handle = CreateFileW(wide(file).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    if (handle == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes(LARGEST_READ, '\0');
    DWORD got = 0;
    if (!ReadFile(handle, &bytes[0], LARGEST_READ, &got, NULL))
        got = 0;
    CloseHandle(handle);
    bytes.resize(got);
    if (bytes.size() >= 2 && memcmp(bytes.data(), UTF16_MARK, 2) == 0) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        memcpy(&text[0], bytes.data() + 2, text.size() * 2);
        return utf8(text);
    }
    if (bytes.compare(0, sizeof UTF8_MARK - 1, UTF8_MARK) == 0)
        return bytes.substr(sizeof UTF8_MARK - 1);
    int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()),
                                     NULL, 0);
    std::wstring text(length, L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), &text[0], length);
    return utf8(text);
}

SettingsLines read_settings_lines(const char* file) {
    SettingsLines found = {};
    std::string text = settings_file_text(file);
    std::string section;  // the section the line stands under, as written
    bool in_section = false, in_cursor = false;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            section = trimmed(line.substr(1, close == std::string::npos ? std::string::npos
                                                                        : close - 1));
            in_section = true;
            in_cursor = same_word(section, SETTINGS_SECTION);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        std::string key = trimmed(line.substr(0, equals));
        std::string wanted = std::string("[") + SETTINGS_SECTION + "]";
        if (in_cursor && same_word(key, SETTINGS_EDGES_KEY)) {
            continue;
        } else if (in_cursor && !same_word(key, SETTINGS_SIZE_KEY)) {
            found.ignored.push_back(
                {line, "under " + wanted,
                 "the game knows only " + std::string(SETTINGS_SIZE_KEY) + " and " +
                     SETTINGS_EDGES_KEY + " there: write Size=... (see Quillmere.ini.sample)",
                 false});
        } else if (!same_word(key, SETTINGS_SIZE_KEY)) {
            continue;
        } else if (in_cursor && found.size_under_section) {
            found.ignored.push_back({line, "a second Size line under " + wanted,
                                     "the game reads only the first: delete the other", true});
        } else if (in_cursor) {
            found.size_under_section = true;
        } else if (in_section) {
            found.ignored.push_back({line, "under [" + section + "]",
                                     "the game reads Size only under " + wanted +
                                         ": write that section line as " + wanted,
                                     true});
        } else {
            found.ignored.push_back({line, "above every section line",
                                     "the game reads Size only under " + wanted +
                                         ": put the line " + wanted + " above it",
                                     true});
        }
    }
    return found;
}
