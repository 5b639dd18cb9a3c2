#include "tools/cursor_check/settings_report.h"

#include <windows.h>

#include <ctype.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "cursors/cursor_plan.h"
#include "cursors/cursor_loader.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/size_limit.h"

namespace {

// Long enough to show a player what they wrote; the module reads only the
// first 15 characters of it.
const int SETTINGS_TEXT_SIZE = 256;
const int READ_CHARACTERS = 15;
// The sample the zip brings, and the value it carries.
const char SAMPLE_FILE[] = ".\\plugin\\Quillmere.ini.sample";
const char SAMPLE_SIZE[] = "0";
// Names that show a settings file meant as Quillmere.ini: "quillmere" then
// ".ini" somewhere after it.
const wchar_t SETTINGS_LOOKALIKES[] = L".\\plugin\\quillmere*.ini*";
const char PERCENT = '%';
const double PERCENT_PER_FACTOR = 100.0;

// A scale as a player writes it: at least one decimal ("2.0", "1.875").
std::string scale_text(double scale) {
    char text[32];
    snprintf(text, sizeof text, "%.6g", scale);
    if (!strpbrk(text, ".eEnN"))
        strncat(text, ".0", sizeof text - strlen(text) - 1);
    return text;
}

// The Size value as written in `file`, or "" when there is none.
std::string size_text_in(const char* file, bool* present) {
    // A missing value gives back the default: read once with "?" and once
    // with "" as the default, and only a missing value gives both back.
    wchar_t text[SETTINGS_TEXT_SIZE] = L"";
    std::wstring section = wide(SETTINGS_SECTION), key = wide(SETTINGS_SIZE_KEY);
    std::wstring path = wide(file);
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"?", text, SETTINGS_TEXT_SIZE,
                             path.c_str());
    wchar_t again[2] = L"";
    GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", again, 2, path.c_str());
    *present = !(text[0] == L'?' && text[1] == L'\0' && again[0] == L'\0');
    return *present ? utf8(text) : "";
}

// True when the text is a plain decimal number, as a player writes one:
// an optional sign, digits with at most one full stop, an optional
// exponent. Words the C runtime may or may not read (inf, nan, 0x10) are not.
bool is_plain_number(const std::string& text) {
    size_t at = text[0] == '-' || text[0] == '+' ? 1 : 0;
    size_t digits = 0, stops = 0;
    for (; at < text.size() && (isdigit(static_cast<unsigned char>(text[at])) || text[at] == '.');
         ++at)
        text[at] == '.' ? ++stops : ++digits;
    if (digits == 0 || stops > 1)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t sign = at + 1 < text.size() && (text[at + 1] == '-' || text[at + 1] == '+');
        size_t first = at + 1 + sign;
        for (at = first; at < text.size() && isdigit(static_cast<unsigned char>(text[at])); ++at) {
        }
        if (at == first)
            return false;
    }
    return at == text.size();
}

void settings_problem(const std::string& brief, const std::string& fix) {
    print_line("             " + fix);
    add_problem(brief, std::string(shown_path(SETTINGS_FILE)) + ": " + fix);
}

void settings_note(const std::string& note) {
    print_line("             " + note);
    add_note(std::string(shown_path(SETTINGS_FILE)) + ": " + note);
}

// The value before a comment after it ("3.0   ; my favourite"), trimmed;
// the whole text when there is none.
std::string number_part(const std::string& text, bool* commented) {
    size_t comment = text.find_first_of(";#");
    *commented = comment != std::string::npos && comment > 0;
    std::string number = *commented ? text.substr(0, comment) : text;
    return number.substr(0, number.find_last_not_of(" \t") + 1);
}

// A Size the game reads otherwise than written: a percentage, a word after
// the number, more than the characters read, a number that can't be a size.
// A comment after the number is read as the player meant: a note.
void note_unread_text(const SettingsReport& settings) {
    if (!settings.value_present || settings.text.empty())
        return;
    std::string size = std::string(SETTINGS_SIZE_KEY) + "=" + settings.text;
    std::string brief = size + " reads as " + scale_text(settings.value);
    bool commented = false;
    std::string number = number_part(settings.text, &commented);
    if (settings.text.find(PERCENT) != std::string::npos) {
        settings_problem(brief, brief + ": Size is a factor, not a percentage: for " + settings.text +
                                    " write Size=" +
                                    scale_text(settings.value / PERCENT_PER_FACTOR));
    } else if (!is_plain_number(number)) {
        settings_problem(brief,
                         size + " reads as " + scale_text(settings.value) +
                             ": only a plain number counts: write one with a full stop, "
                             "such as Size=1.5");
    } else if (static_cast<float>(strtod(number.c_str(), NULL)) != settings.value) {
        settings_problem(brief, "the game reads only the first 15 characters of " + size +
                                    ": write a shorter number, such as Size=1.5");
    } else if (!isfinite(settings.value)) {
        settings_problem(size + " is too large",
                         size + " is too large to be a size: every cursor shows at its own "
                                "size; write a number such as Size=2.0");
    } else if (settings.mode == SCALE_NATIVE && settings.value != 1.0f) {
        // Below 1: never smaller than the files; below 0: no meaning.
        settings_problem(size + " shows every cursor at its own size",
                         size + " shows every cursor at its own size: cursors never get "
                                "smaller than their files. Write Size=1.0 for their own size, "
                                "Size=0 to follow the window, or use smaller cursor files");
    } else if (commented) {
        settings_note(size + ": the game reads " + number + " and skips the comment after it");
    }
}

// Lines the game never reads although they look meant for it; and a Size
// line the parse sees under [Cursor] but the game can't read. A Size line
// elsewhere is a problem only when no Size under [Cursor] is read: beside
// one, it is a leftover the game rightly skips; a key the game does not know
// changes nothing either.
void note_ignored_lines(const SettingsReport& settings) {
    bool size_read = settings.value_present && settings.lines.size_under_section;
    for (const IgnoredSetting& line : settings.lines.ignored) {
        if (line.is_size && !size_read)
            settings_problem(line.line + " in Quillmere.ini is ignored",
                             line.line + " (" + line.where + ") is ignored: " + line.fix);
        else
            settings_note(line.line + " (" + line.where + ") is skipped by the game" +
                          (line.is_size ? ", which reads the Size under [Cursor]: " : ": ") +
                          line.fix);
    }
    if (settings.lines.size_under_section && !settings.value_present)
        settings_problem("the game can't read the Size line",
                         "the game can't read its Size line: write the two lines as the "
                         "sample has them, [Cursor] and below it Size=0");
}

// How enlarged pixel art looks, and an Edges value the module reads as the
// default because it is neither word.
void print_edges(const SettingsReport& settings) {
    if (!settings.edges_text.empty() && !settings.edges_known) {
        say("edges        %s=%s is not a choice: smooth is used", SETTINGS_EDGES_KEY,
            settings.edges_text.c_str());
        settings_problem("Edges=" + settings.edges_text + " in Quillmere.ini is not a choice",
                         "Edges=" + settings.edges_text +
                             " is not a choice: write Edges=smooth or Edges=square");
    } else if (settings.edges == EDGES_SQUARE) {
        say("edges        square (Edges=square): enlarged cursors show each pixel as a square "
            "block");
    } else {
        say("edges        smooth%s: enlarged pixel art keeps its slanted edges",
            settings.edges_text.empty() ? " (the default)" : " (Edges=smooth)");
    }
}

}  // namespace

SettingsReport read_settings_report() {
    SettingsReport report = {};
    DWORD attributes = GetFileAttributesW(wide(SETTINGS_FILE).c_str());
    report.file_is_folder =
        attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    report.file_present = attributes != INVALID_FILE_ATTRIBUTES && !report.file_is_folder;
    report.text = size_text_in(SETTINGS_FILE, &report.value_present);
    report.value = read_ini_float(SETTINGS_SECTION, SETTINGS_SIZE_KEY, 0.0f, SETTINGS_FILE);
    report.mode = scale_mode(report.value);
    char edges[SETTINGS_TEXT_SIZE] = "";
    GetPrivateProfileStringA(SETTINGS_SECTION, SETTINGS_EDGES_KEY, "", edges, sizeof edges,
                             SETTINGS_FILE);
    report.edges_text = edges;
    report.edges = edges_of(edges, &report.edges_known);
    if (report.file_present)
        report.lines = read_settings_lines(SETTINGS_FILE);
    return report;
}

std::string scale_caption(const CursorSize& size) {
    if (size.side)
        return "each at " + std::to_string(size.side) + " px";
    if (size.scale == 0.0f || size.scale == 1.0f)
        return "each at its own size";
    return "at " + scale_text(size.scale) + " times their own size";
}

void maximised_client(int* width, int* height) {
    // A maximised window covers the work area (the screen without the task
    // bar); its borders lie past the edges, its title bar stays.
    RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    *width = work.right - work.left;
    *height = work.bottom - work.top - GetSystemMetrics(SM_CYCAPTION);
    if (*width < 1)
        *width = 1;
    if (*height < 1)
        *height = 1;
}

void print_settings_report(const SettingsReport& settings) {
    const char* path = shown_path(SETTINGS_FILE);
    if (settings.file_is_folder) {
        say("settings     %s is a folder, not a file: the size is automatic", path);
        settings_problem("Quillmere.ini is a folder",
                         "a folder stands where the settings file goes: delete it, then copy "
                         "Quillmere.ini.sample to Quillmere.ini");
    }
    else if (!settings.file_present)
        say("settings     %s not found: the size is automatic (as Size=0)", path);
    else if (!settings.value_present)
        say("settings     %s has no Size line under [%s]: the size is automatic", path,
            SETTINGS_SECTION);
    else
        say("settings     %s: %s=%s reads as %s%s", path, SETTINGS_SIZE_KEY, settings.text.c_str(),
            scale_text(settings.value).c_str(),
            settings.text.size() > READ_CHARACTERS ? " (only the first 15 characters count)" : "");
    note_unread_text(settings);
    note_ignored_lines(settings);

    print_edges(settings);
}

void print_settings_mistakes(const SettingsReport& settings) {
    // Sample edited in place: the game never reads the sample.
    bool sample_has_size = false;
    std::string sample_size = size_text_in(SAMPLE_FILE, &sample_has_size);
    if (!settings.file_present && !settings.file_is_folder && sample_has_size &&
        sample_size != SAMPLE_SIZE) {
        std::string advice = std::string(shown_path(SAMPLE_FILE)) +
                             " was changed (Size=" + sample_size + "), but the game reads only " +
                             shown_path(SETTINGS_FILE) +
                             ": copy the sample to Quillmere.ini "
                             "and change Size there";
        print_line("             " + advice);
        add_problem("your settings are in Quillmere.ini.sample", advice);
    }
    // Quillmere.ini.txt and the like: Windows hides a known ending.
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(SETTINGS_LOOKALIKES, &entry);
    if (search == INVALID_HANDLE_VALUE)
        return;
    std::string wanted = last_part(SETTINGS_FILE), sample = last_part(SAMPLE_FILE);
    do {
        std::string name = utf8(entry.cFileName);
        if (lstrcmpiA(name.c_str(), wanted.c_str()) == 0 ||
            lstrcmpiA(name.c_str(), sample.c_str()) == 0)
            continue;
        std::string advice =
            "plugin\\" + name + " is never read: the game reads only " + shown_path(SETTINGS_FILE);
        if (settings.file_present) {
            print_line("             " + advice + ", which is there too");
            continue;
        }
        advice += ": rename it to " + wanted +
                  " (Windows may hide an ending such as .txt: in Explorer, View, tick "
                  "File name extensions)";
        print_line("             " + advice);
        add_problem("the settings file is named " + name, advice);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
}

void note_capped_size(const SettingsReport& settings) {
    if (settings.mode != SCALE_FIXED || !isfinite(settings.value))
        return;
    int side = largest_default_side(), width, height;
    asked_size(side, side, effective_scale(settings.value), &width, &height);
    if (width <= static_cast<int>(MAX_CURSOR_SIDE))
        return;
    std::string size = std::string(SETTINGS_SIZE_KEY) + "=" + settings.text;
    std::string largest = scale_text(largest_useful_size());
    add_problem(size + " is more than the game shows",
                std::string(shown_path(SETTINGS_FILE)) + ": " + size +
                    " asks for cursors larger than the game shows: no cursor is larger than " +
                    std::to_string(MAX_CURSOR_SIDE) +
                    " pixels a side, so the largest default cursors stop growing at Size=" +
                    largest + ". Write Size=" + largest + " for the largest cursors there are");
}
