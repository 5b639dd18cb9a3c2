// Finding the game folder, whether the plug-in's files sit in it, and
// whether the plug-in could write its default cursors into a cursor folder.
// Every call is the wide one: folder names of any language work.
#pragma once

#include <windows.h>

#include <string>

// The game's plug-in folder, relative to the game folder.
const char PLUGIN_FOLDER[] = ".\\plugin";
// This program's own file name, which is no game's program.
const char CHECK_TOOL_NAME[] = "quillmere_check.exe";

struct GameFolder {
    bool found;                  // a folder with a plugin folder, now the current one
    bool moved;                  // found from this program's folder (a double click)
    std::string path;            // the current folder
    bool has_program;            // the game's program (an .exe) stands beside plugin
    std::string program_folder;  // without one: the folder above, when the
                                 // game's program is there (unzipped one
                                 // level too deep); else empty
};

// Makes the game folder the current folder: the current folder when it holds
// a plugin folder, else the folder above this program's own when that is
// named plugin and the folder above it holds plugin\Quillmere.yrp or a
// program (a double click starts the program in <game>\plugin).
GameFolder enter_game_folder();

struct InstallProblem {
    std::string brief;   // for the result line: "the plug-in is one folder too deep"
    std::string advice;  // what is wrong and where the files go; empty when all is well
};

// Whether the game folder found is where the game reads the plug-in's files:
// a game's program beside plugin. Unzipped one folder too deep, or in a
// folder holding no game, the advice says where the files go.
InstallProblem install_problem(const GameFolder& game);

// The latest time one of the game's files (its programs, storm.dll) in
// `folder` was read after it was put there; zero when none was.
ULONGLONG last_game_start(const std::wstring& folder);

// When the file at `path` was put there (its creation, last write or last
// change, whichever is latest); the largest time when that can't be told.
ULONGLONG placed_time(const char* path);

enum FolderState {
    FOLDER_WRITABLE,        // there, and files can be created in it
    FOLDER_CAN_BE_MADE,     // missing; the plug-in can make it
    FOLDER_CANNOT_BE_MADE,  // missing, and a file or a locked folder is in the way
    FOLDER_IS_A_FILE,       // a file has the folder's name
    FOLDER_NOT_WRITABLE,    // there, but no file can be created in it
};

// What the plug-in would meet at start-up when it writes defaults there.
FolderState cursor_folder_state(const char* folder);

// True when `state` lets the plug-in write a default file there.
bool defaults_can_be_written(FolderState state);

// True when `path` is a folder.
bool is_folder(const char* path);

// A path as a player reads it: without the leading ".\".
const char* shown_path(const char* path);

// The last part of a path.
std::string last_part(const std::string& path);
