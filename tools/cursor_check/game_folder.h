// Finding the game folder, and whether the plug-in could write its default
// cursors into a cursor folder.
#pragma once

// The game's plug-in folder, relative to the game folder.
const char PLUGIN_FOLDER[] = ".\\plugin";

// Makes the game folder the current folder and returns true: the current
// folder when it holds a plugin folder, else the folder above this program's
// own when that holds plugin\Quillmere.yrp (a double click starts the program
// in <game>\plugin). `moved` tells which. False when neither is one.
bool enter_game_folder(bool* moved);

enum FolderState {
    FOLDER_WRITABLE,          // there, and files can be created in it
    FOLDER_CAN_BE_MADE,       // missing; the plug-in can make it
    FOLDER_CANNOT_BE_MADE,    // missing, and a file or a locked folder is in the way
    FOLDER_IS_A_FILE,         // a file has the folder's name
    FOLDER_NOT_WRITABLE,      // there, but no file can be created in it
};

// What the plug-in would meet at start-up when it writes defaults there.
FolderState cursor_folder_state(const char* folder);

// True when `state` lets the plug-in write a default file there.
bool defaults_can_be_written(FolderState state);

// True when `path` is a folder / a file.
bool is_folder(const char* path);
bool is_file(const char* path);

// A path as a player reads it: without the leading ".\".
const char* shown_path(const char* path);
