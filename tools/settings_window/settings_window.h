// The players' settings window: the cursor size (automatic, fixed or own
// size), a preview of every cursor at the size the game will show it, the
// cursor check's findings, and saving the size in plugin\Quillmere.ini.
#pragma once

#include <windows.h>

#include <string>

#include "tools/cursor_check/game_folder.h"

// Registers the window's classes; false when Windows refuses.
bool register_settings_window(HINSTANCE instance);

// Opens the window for the game folder that is the current folder (its
// path is shown; where the game does not read it, nothing is saved there);
// null when it can't be made.
HWND open_settings_window(HINSTANCE instance, const GameFolder& game);
