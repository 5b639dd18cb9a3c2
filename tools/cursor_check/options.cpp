#include "tools/cursor_check/options.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"

namespace {

// The largest side a window's client area can have.
const long LARGEST_CLIENT_SIDE = 65535;
// Where an option's explanation starts in the usage text.
const int OPTION_TEXT_COLUMN = 22;
// The picture --sheet writes, and so the ending its name must have.
const char SHEET_ENDING[] = ".png";

// Reads a side: digits only; false when there are none. Values above the
// largest side stop growing there, so that the caller can name them.
bool read_side(const char** text, long* side) {
    const char* at = *text;
    *side = 0;
    while (*at >= '0' && *at <= '9') {
        if (*side <= LARGEST_CLIENT_SIDE)
            *side = *side * 10 + (*at - '0');
        ++at;
    }
    bool any = at != *text;
    *text = at;
    return any;
}

bool parse_client_size(const char* text, Options* options, std::string* error) {
    std::string given = std::string("--client ") + text + ": ";
    const char* at = text;
    long width = 0, height = 0;
    if (!read_side(&at, &width) || (*at != 'x' && *at != 'X') || (++at, !read_side(&at, &height)) ||
        *at != '\0') {
        *error = given + "write the size as WIDTHxHEIGHT, e.g. 1280x960";
        return false;
    }
    if (width == 0 || height == 0) {
        *error = given + "a side of 0: both sides must be at least 1";
        return false;
    }
    if (width > LARGEST_CLIENT_SIDE || height > LARGEST_CLIENT_SIDE) {
        *error =
            given + "too large: each side can be at most " + std::to_string(LARGEST_CLIENT_SIDE);
        return false;
    }
    options->client_width = width;
    options->client_height = height;
    return true;
}

bool is_help(const char* argument) {
    return strcmp(argument, "--help") == 0 || strcmp(argument, "-h") == 0 ||
           strcmp(argument, "/?") == 0;
}

bool has_sheet_ending(const std::string& name) {
    size_t length = sizeof SHEET_ENDING - 1;
    return name.size() > length &&
           lstrcmpiA(name.c_str() + name.size() - length, SHEET_ENDING) == 0;
}

bool parse_options(const std::vector<std::string>& arguments, Options* options,
                   std::string* error) {
    options->client_width = HOST_SCREEN_WIDTH;
    options->client_height = HOST_SCREEN_HEIGHT;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const char* argument = arguments[i].c_str();
        bool has_value = i + 1 < arguments.size();
        if (is_help(argument)) {
            options->help = true;
        } else if (strcmp(argument, "--report") == 0) {
            options->report = true;
        } else if (strcmp(argument, "--restore-defaults") == 0) {
            options->restore_defaults = true;
        } else if (strcmp(argument, "--client") == 0) {
            if (!has_value) {
                *error = "--client needs a size, e.g. --client 1280x960";
                return false;
            }
            if (!parse_client_size(arguments[++i].c_str(), options, error))
                return false;
        } else if (strcmp(argument, "--sheet") == 0) {
            if (!has_value) {
                *error = "--sheet needs a file name, e.g. --sheet cursors.png";
                return false;
            }
            options->sheet = arguments[++i];
            if (!has_sheet_ending(options->sheet)) {
                *error = "--sheet " + options->sheet +
                         ": the picture is a PNG file: give a name ending in .png, e.g. "
                         "--sheet cursors.png";
                return false;
            }
        } else if (argument[0] == '-') {
            *error = std::string("unknown option ") + argument;
            return false;
        } else {
            // A file dropped onto the program arrives as its full path.
            options->files.push_back(arguments[i]);
        }
    }
    return true;
}

}  // namespace

bool parse_command_line(Options* options, std::string* error) {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; words && i < count; ++i) arguments.push_back(utf8(words[i]));
    LocalFree(words);
    return parse_options(arguments, options, error);
}

void print_usage() {
    print_line(
        "usage: quillmere_check [--client WxH] [--sheet FILE.png] [--restore-defaults] "
        "[--report] [CURSOR FILE...]",
        0);
    print_line("");
    print_line(
        "Reports what the Quillmere plug-in makes of your settings and cursor files. "
        "Run it in the game folder, or start it from the game's plugin folder. Drop a "
        "cursor file onto it to check that file.",
        0);
    print_line("");
    print_line(
        "  --client WxH        sizes for a game window whose inside is W by H (used "
        "when Size=0; default " +
            std::to_string(HOST_SCREEN_WIDTH) + "x" + std::to_string(HOST_SCREEN_HEIGHT) +
            ", the game's own size)",
        OPTION_TEXT_COLUMN);
    print_line("  --sheet FILE.png    also draw every cursor as the game shows it into FILE.png",
               OPTION_TEXT_COLUMN);
    print_line("  --restore-defaults  write the default cursors that are missing, now",
               OPTION_TEXT_COLUMN);
    print_line(
        "  --report            also write quillmere-report.txt beside this program, to "
        "send with a problem report",
        OPTION_TEXT_COLUMN);
    print_line("  CURSOR FILE         check that file on its own, and say where it goes",
               OPTION_TEXT_COLUMN);
    print_line("  --help              show this text", OPTION_TEXT_COLUMN);
    print_line("");
    print_line(
        "Exit code: 0 the game will do what your settings and files say, 1 something "
        "needs fixing (the report says what), 2 wrong command line, 3 no game folder found.",
        0);
}
