#include "tools/settings_window/settings_file.h"

#include <vector>

#include "settings/scale_policy.h"

namespace {

// The file is worked on as units: its bytes for ANSI and UTF-8 (only ASCII
// is looked at or written, and no byte of a multi-byte character is ASCII
// in either), its 16-bit characters for UTF-16. The mark stays in front.
enum Encoding { BYTES, UTF16_LE, UTF16_BE };

struct Text {
    Encoding encoding;
    std::u16string units;
    size_t first;     // the first unit after the mark
    std::string odd;  // a last byte of a UTF-16 file that makes no character
};

const unsigned char UTF8_MARK[] = {0xEF, 0xBB, 0xBF};
const char16_t DEFAULT_ENDING[] = u"\r\n";
// Larger than any settings file a player writes: a bigger one is not read.
const LONGLONG LARGEST_FILE = 16 << 20;
const wchar_t SAVING_PREFIX[] = L"\\~quillmere-saving-";

Text decode(const std::string& bytes) {
    Text text = {};
    const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t size = bytes.size();
    if (size >= 2 && b[0] == 0xFF && b[1] == 0xFE)
        text.encoding = UTF16_LE;
    else if (size >= 2 && b[0] == 0xFE && b[1] == 0xFF)
        text.encoding = UTF16_BE;
    if (text.encoding == BYTES) {
        text.units.assign(b, b + size);
        if (size >= sizeof UTF8_MARK && b[0] == UTF8_MARK[0] && b[1] == UTF8_MARK[1] &&
            b[2] == UTF8_MARK[2])
            text.first = sizeof UTF8_MARK;
        return text;
    }
    text.units.reserve(size / 2);
    for (size_t at = 0; at + 1 < size; at += 2)
        text.units.push_back(text.encoding == UTF16_LE
                                 ? static_cast<char16_t>(b[at] | b[at + 1] << 8)
                                 : static_cast<char16_t>(b[at] << 8 | b[at + 1]));
    if (size % 2)
        text.odd = bytes.substr(size - 1);
    text.first = 1;
    return text;
}

std::string encode(const Text& text) {
    std::string bytes;
    bytes.reserve(text.units.size() * 2 + text.odd.size());
    for (char16_t unit : text.units) {
        if (text.encoding == BYTES) {
            bytes += static_cast<char>(unit);
        } else if (text.encoding == UTF16_LE) {
            bytes += static_cast<char>(unit & 0xFF);
            bytes += static_cast<char>(unit >> 8);
        } else {
            bytes += static_cast<char>(unit >> 8);
            bytes += static_cast<char>(unit & 0xFF);
        }
    }
    return bytes + text.odd;
}

std::u16string units_of(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

bool blank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

char16_t lower(char16_t unit) {
    return unit >= u'A' && unit <= u'Z' ? static_cast<char16_t>(unit - u'A' + u'a') : unit;
}

// True when units [from, to), blanks around them aside, are `word` in any case.
bool is_word(const std::u16string& units, size_t from, size_t to, const char* word) {
    while (from < to && blank(units[from])) ++from;
    while (to > from && blank(units[to - 1])) --to;
    size_t length = 0;
    for (; word[length]; ++length)
        if (from + length >= to || lower(units[from + length]) != lower(word[length]))
            return false;
    return from + length == to;
}

enum Kind { OTHER, SECTION, KEYED };

struct Line {
    size_t start, end, next;  // the text [start, end), the next line at next
    Kind kind;
    bool cursor;                      // a section line: [Cursor]
    size_t value_start, value_end;    // a Size line: its value, without what follows
};

// A line of the file; a line setting `key` is KEYED (the key the
// file is being changed for: Size, or Edges).
Line read_line(const std::u16string& units, size_t start, const char* key) {
    Line line = {start, start, units.size(), OTHER, false, 0, 0};
    size_t feed = units.find(u'\n', start);
    if (feed != std::u16string::npos)
        line.next = feed + 1;
    line.end = feed == std::u16string::npos ? units.size() : feed;
    if (line.end > start && units[line.end - 1] == u'\r')
        --line.end;
    size_t at = start;
    while (at < line.end && blank(units[at])) ++at;
    if (at == line.end || units[at] == u';')
        return line;
    if (units[at] == u'[') {
        size_t close = units.find(u']', at);
        line.kind = SECTION;
        line.cursor = is_word(units, at + 1, close < line.end ? close : line.end, SETTINGS_SECTION);
        return line;
    }
    size_t equals = units.find(u'=', at);
    if (equals >= line.end || !is_word(units, at, equals, key))
        return line;
    line.kind = KEYED;
    line.value_start = equals + 1;
    while (line.value_start < line.end && blank(units[line.value_start])) ++line.value_start;
    line.value_end = line.value_start;
    while (line.value_end < line.end && units[line.value_end] != u';' &&
           units[line.value_end] != u'#')
        ++line.value_end;
    while (line.value_end > line.value_start && blank(units[line.value_end - 1])) --line.value_end;
    return line;
}

// The lines that matter: the first [Cursor] line, the Size line the game
// reads (the first under [Cursor]) and the Size lines it never reads.
struct Layout {
    bool has_section, has_size;
    Line section, size;
    std::vector<Line> strays;
    std::u16string ending;  // the file's line ending
};

Layout lay_out(const Text& text, const char* key) {
    Layout layout = {};
    layout.ending = DEFAULT_ENDING;
    bool ending_seen = false, in_cursor = false;
    for (size_t at = text.first; at < text.units.size();) {
        Line line = read_line(text.units, at, key);
        at = line.next;
        if (!ending_seen && line.end < line.next) {
            layout.ending = text.units.substr(line.end, line.next - line.end);
            ending_seen = true;
        }
        if (line.kind == SECTION) {
            in_cursor = line.cursor;
            if (in_cursor && !layout.has_section)
                layout.has_section = true, layout.section = line;
        } else if (line.kind == KEYED && in_cursor && !layout.has_size) {
            layout.has_size = true, layout.size = line;
        } else if (line.kind == KEYED) {
            layout.strays.push_back(line);
        }
    }
    return layout;
}

}  // namespace

std::string with_size(const std::string& bytes, const std::string& value) {
    return with_setting(bytes, SETTINGS_SIZE_KEY, value);
}

std::string with_setting(const std::string& bytes, const char* key, const std::string& value) {
    Text text = decode(bytes);
    Layout layout = lay_out(text, key);
    std::u16string size_line = units_of(std::string(key) + "=" + value);
    std::u16string& units = text.units;
    if (layout.has_size) {
        units.replace(layout.size.value_start, layout.size.value_end - layout.size.value_start,
                      units_of(value));
    } else if (layout.has_section) {
        const Line& section = layout.section;
        if (section.end < section.next)
            units.insert(section.next, size_line + layout.ending);
        else
            units.insert(section.next, layout.ending + size_line + layout.ending);
    } else {
        if (units.size() > text.first && units.back() != u'\n')
            units += layout.ending;
        units += units_of(std::string("[") + SETTINGS_SECTION + "]") + layout.ending + size_line +
                 layout.ending;
    }
    return encode(text);
}

std::string without_stray_sizes(const std::string& bytes, int* removed) {
    Text text = decode(bytes);
    Layout layout = lay_out(text, SETTINGS_SIZE_KEY);
    if (removed)
        *removed = static_cast<int>(layout.strays.size());
    std::u16string kept;
    size_t from = 0;
    for (const Line& stray : layout.strays) {
        kept.append(text.units, from, stray.start - from);
        from = stray.next;
    }
    kept.append(text.units, from, std::u16string::npos);
    text.units = kept;
    return encode(text);
}

bool read_whole_file(const std::wstring& path, std::string* bytes, DWORD* error) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    LARGE_INTEGER size = {};
    bool read = GetFileSizeEx(file, &size) && size.QuadPart <= LARGEST_FILE;
    *error = read ? ERROR_SUCCESS : ERROR_FILE_TOO_LARGE;
    if (read) {
        bytes->assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD got = 0;
        read = bytes->empty() ||
               (ReadFile(file, &(*bytes)[0], static_cast<DWORD>(bytes->size()), &got, NULL) &&
                got == bytes->size());
        if (!read)
            *error = GetLastError();
    }
    CloseHandle(file);
    return read;
}

bool replace_file(const std::wstring& path, const std::string& bytes, DWORD* error) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
    std::wstring saving = folder + SAVING_PREFIX + std::to_wstring(GetCurrentProcessId()) + L".tmp";
    HANDLE file = CreateFileW(saving.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        *error = GetLastError();
        return false;
    }
    DWORD written = 0;
    bool whole = (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()),
                                              &written, NULL) &&
                                    written == bytes.size())) &&
                 FlushFileBuffers(file);
    *error = whole ? ERROR_SUCCESS : GetLastError();
    CloseHandle(file);
    // The old file stays whole until the new one replaces it in one step;
    // then it gets the old one's attributes back (hidden, for instance).
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (whole && !MoveFileExW(saving.c_str(), path.c_str(),
                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        *error = GetLastError();
        whole = false;
    }
    if (!whole)
        DeleteFileW(saving.c_str());
    else if (attributes != INVALID_FILE_ATTRIBUTES)
        SetFileAttributesW(path.c_str(), attributes);
    return whole;
}
