// quillmere_check: tells a player, in the game folder, what the plug-in will
// make of its settings file and cursor folders. The plug-in itself is silent;
// this program runs the plug-in's own code (settings, paths, file checks,
// loading and sizing) and prints what it found. It changes nothing unless
// asked to write the missing default cursors.
//
//   quillmere_check [--client WIDTHxHEIGHT] [--restore-defaults]
//
// Exit code: 0 every present cursor file loads, 1 some present file fails to
// load, 2 bad command line, 3 no .\plugin folder here.
#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "cursors/cursor_loader.h"
#include "base/host_address_map.h"
#include "base/module_state.h"
#include "quillmere_version.h"
#include "tools/cursor_check/cursor_table.h"
#include "tools/cursor_check/module_report.h"
#include "tools/cursor_check/settings_report.h"

namespace {

const int EXIT_ALL_LOAD = 0;
const int EXIT_FILES_FAIL = 1;
const int EXIT_USAGE = 2;
const int EXIT_NOT_A_GAME_FOLDER = 3;
const int LARGEST_CLIENT_SIDE = 65535;

struct Options {
    int client_width;
    int client_height;
    bool restore_defaults;
};

bool parse_client_size(const char* text, Options* options) {
    int width = 0, height = 0;
    char end = 0;
    if (sscanf(text, "%dx%d%c", &width, &height, &end) != 2)
        return false;
    if (width <= 0 || height <= 0 || width > LARGEST_CLIENT_SIDE || height > LARGEST_CLIENT_SIDE)
        return false;
    options->client_width = width;
    options->client_height = height;
    return true;
}

bool parse_options(int argc, char** argv, Options* options) {
    options->client_width = HOST_SCREEN_WIDTH;
    options->client_height = HOST_SCREEN_HEIGHT;
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "--client") == 0 && i + 1 < argc) {
            if (!parse_client_size(argv[++i], options))
                return false;
        } else if (strcmp(argv[i], "--restore-defaults") == 0) {
            options->restore_defaults = true;
        } else {
            return false;
        }
    }
    return true;
}

void print_usage() {
    fprintf(stderr,
            "usage: quillmere_check [--client WIDTHxHEIGHT] [--restore-defaults]\n"
            "Run it in the game folder (the one holding plugin\\Quillmere.yrp).\n"
            "  --client WxH        client area for automatic mode (default %dx%d)\n"
            "  --restore-defaults  write the default cursors that are missing\n",
            HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
}

bool is_folder(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

int main(int argc, char** argv) {
    Options options = {};
    if (!parse_options(argc, argv, &options)) {
        print_usage();
        return EXIT_USAGE;
    }
    // The defaults are this program's own resources, as they are the module's.
    module_handle = GetModuleHandleA(NULL);

    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof folder, folder);
    printf("Quillmere cursor check %s\n", QUILLMERE_VERSION_TEXT);
    printf("game folder %s\n", folder);
    if (!is_folder(PLUGIN_FOLDER)) {
        printf("no %s folder here: run this program in the game folder\n", PLUGIN_FOLDER);
        return EXIT_NOT_A_GAME_FOLDER;
    }
    print_module_report();
    if (options.restore_defaults) {
        // The module makes both folders at start-up, before it writes a default.
        CreateDirectoryA(CURSOR_FOLDER, NULL);
        CreateDirectoryA(ANIMATED_CURSOR_FOLDER, NULL);
    }
    print_folder_report(CURSOR_FOLDER);
    print_folder_report(ANIMATED_CURSOR_FOLDER);

    SettingsReport settings = read_settings_report();
    print_settings_report(settings, options.client_width, options.client_height);
    float scale = load_scale(settings, options.client_width, options.client_height);
    printf("\n");
    TableCounts counts = print_cursor_table(scale, options.restore_defaults);
    printf("\n%d files load, %d fail to load, %d missing, %d absent (no default)\n",
           counts.loading, counts.failing, counts.missing, counts.absent);
    if (counts.failing > 0) {
        printf("result: %d present file%s fail%s to load\n", counts.failing,
               counts.failing == 1 ? "" : "s", counts.failing == 1 ? "s" : "");
        return EXIT_FILES_FAIL;
    }
    printf("result: every present file loads\n");
    return EXIT_ALL_LOAD;
}
