// Putting a cursor file in for one of the preview's tiles, as the players'
// Mouse settings do: the file checked by the plug-in's own loader first,
// then copied in under the name the game reads; the player's file it
// replaces kept in plugin\Cursor backups, never deleted.
#pragma once

#include <windows.h>

#include <string>

// The folder the replaced files go to.
const char BACKUP_FOLDER[] = ".\\plugin\\Cursor backups";

// Asks for a cursor file with the system's file dialog (showing .cur and
// .ani files), titled for `tile`; false when the player cancels.
bool ask_for_cursor_file(HWND owner, const std::wstring& tile, std::wstring* file);

// Puts `file` in as the cursor of tile `index`; `message` says what
// happened, or why nothing did and what to do. True when it is in.
bool put_cursor_file(int index, const std::wstring& file, std::string* message);

// Puts the default back for tile `index`, keeping the player's file as a
// backup; `message` says what happened. True when the default is in.
bool use_default_cursor(int index, std::string* message);
