// quillmere_settings: the players' settings window. It finds the game
// folder as the cursor check does (started in the game folder, or from the
// game's plugin folder) and opens the window for it.
#include <windows.h>

#include <string>

#include "base/module_state.h"
#include "tools/cursor_check/check_run.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/settings_window/settings_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    // The default cursors are this program's own resources, as they are the
    // module's.
    attach_module(instance);
    GameFolder game = enter_game_folder();
    if (!game.found) {
        std::string words = "This is not a game folder: " + game.path +
                            " has no plugin folder, and this program is not in a game's plugin "
                            "folder. Put quillmere_settings.exe into <game folder>\\plugin and "
                            "start it there.";
        MessageBoxW(NULL, wide(words).c_str(), L"Quillmere settings", MB_OK | MB_ICONWARNING);
        return EXIT_NOT_A_GAME_FOLDER;
    }
    if (!register_settings_window(instance))
        return EXIT_USAGE;
    HWND window = open_settings_window(instance, game);
    if (!window)
        return EXIT_USAGE;
    ShowWindow(window, show);
    MSG message;
    while (GetMessageW(&message, NULL, 0, 0) > 0) {
        // Tab, the mnemonics, Enter (Save) and Esc (Close), as in a dialog.
        if (IsDialogMessageW(window, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return EXIT_ALL_FINE;
}
