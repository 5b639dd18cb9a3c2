#include "tools/settings_window/cursor_files.h"

#include <commdlg.h>

#include <stdio.h>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/default_cursors.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/game_folder.h"
#include "tools/cursor_check/slot_check.h"
#include "tools/settings_window/cursor_preview.h"

namespace {

// The chosen file's copy while it is checked, beside where it goes.
const char NEW_FILE_NAME[] = "\\~quillmere-new.tmp";
// Backups made within one second get a number; past this many, none is made.
const int MOST_BACKUPS_A_SECOND = 100;

std::string tile_path(int index) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, tile_pattern(index), tile_slot(index));
    return path;
}

std::string folder_of(const std::string& path) {
    return path.substr(0, path.find_last_of('\\'));
}

std::string windows_error(DWORD error) {
    return " (Windows error " + std::to_string(error) + ")";
}

// Moves the player's file at `path` into the backup folder under a name of
// its own with the time; true when there was none to keep or it is kept.
bool keep_players_file(int index, const std::string& path, std::string* kept) {
    if (GetFileAttributesW(wide(path).c_str()) == INVALID_FILE_ATTRIBUTES ||
        is_default_cursor(path.c_str(), tile_default_id(index)))
        return true;
    CreateDirectoryW(wide(BACKUP_FOLDER).c_str(), NULL);
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    snprintf(stamp, sizeof stamp, " %04u-%02u-%02u %02u%02u%02u", now.wYear, now.wMonth, now.wDay,
             now.wHour, now.wMinute, now.wSecond);
    std::string name = last_part(path);
    std::string stem = name.substr(0, name.find_last_of('.'));
    std::string set = index == PREVIEW_COUNT - 1 ? "animated " : "";
    for (int copy = 1; copy <= MOST_BACKUPS_A_SECOND; ++copy) {
        std::string backup = std::string(BACKUP_FOLDER) + "\\" + set + stem + stamp +
                             (copy > 1 ? " (" + std::to_string(copy) + ")" : "") + ".ani";
        if (MoveFileW(wide(path).c_str(), wide(backup).c_str())) {
            *kept = " Your previous file is kept as " +
                    std::string(shown_path(backup.c_str())) + ".";
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS && GetLastError() != ERROR_FILE_EXISTS)
            return false;
    }
    return false;
}

}  // namespace

bool ask_for_cursor_file(HWND owner, const std::wstring& tile, std::wstring* file) {
    wchar_t chosen[MAX_PATH * 2] = L"";
    std::wstring title = L"Choose a file for " + tile;
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Cursors (*.cur, *.ani)\0*.cur;*.ani\0All files\0*.*\0";
    dialog.lpstrFile = chosen;
    dialog.nMaxFile = MAX_PATH * 2;
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
                   OFN_EXPLORER;
    if (!GetOpenFileNameW(&dialog))
        return false;
    *file = chosen;
    return true;
}

bool put_cursor_file(int index, const std::wstring& file, std::string* message) {
    std::string path = tile_path(index);
    std::string folder = folder_of(path);
    std::string chosen = utf8(file);
    std::string name = last_part(chosen);
    CreateDirectoryW(wide(CURSOR_FOLDER).c_str(), NULL);
    CreateDirectoryW(wide(folder).c_str(), NULL);
    // Checked as a copy with a plain name, exactly as the game will read it.
    std::string fresh = folder + NEW_FILE_NAME;
    if (!CopyFileW(file.c_str(), wide(fresh).c_str(), FALSE)) {
        *message = name + " can't be copied into " + shown_path(folder.c_str()) +
                   windows_error(GetLastError()) + ": nothing was changed.";
        return false;
    }
    SlotCheck check = check_cursor_file(fresh.c_str(), 0.0f);
    if (!check.loads) {
        DeleteFileW(wide(fresh).c_str());
        *message = name + " does not work as a cursor: " + check.note +
                   ". Nothing was changed; choose a .cur or .ani file.";
        return false;
    }
    std::string kept;
    if (!keep_players_file(index, path, &kept)) {
        DWORD error = GetLastError();
        DeleteFileW(wide(fresh).c_str());
        *message = "The file now at " + std::string(shown_path(path.c_str())) +
                   " can't be moved aside" + windows_error(error) + ": nothing was changed.";
        return false;
    }
    if (!MoveFileExW(wide(fresh).c_str(), wide(path).c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DWORD error = GetLastError();
        DeleteFileW(wide(fresh).c_str());
        *message = name + " can't be put in as " + shown_path(path.c_str()) + windows_error(error) +
                   "." + kept;
        return false;
    }
    *message = name + " is now " + shown_path(path.c_str()) + " (" +
               std::to_string(check.native_width) + "x" + std::to_string(check.native_height) +
               ")." + kept + " Restart the game to see it.";
    return true;
}

bool use_default_cursor(int index, std::string* message) {
    std::string path = tile_path(index);
    if (GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES &&
        is_default_cursor(path.c_str(), tile_default_id(index))) {
        *message = std::string(shown_path(path.c_str())) + " is the default already.";
        return true;
    }
    std::string kept;
    if (!keep_players_file(index, path, &kept)) {
        *message = "Your file " + std::string(shown_path(path.c_str())) + " can't be moved aside" +
                   windows_error(GetLastError()) + ": nothing was changed.";
        return false;
    }
    CreateDirectoryW(wide(CURSOR_FOLDER).c_str(), NULL);
    CreateDirectoryW(wide(folder_of(path)).c_str(), NULL);
    extract_default_cursor(module_handle, tile_default_id(index), path.c_str());
    *message = std::string(shown_path(path.c_str())) + " is the default again." + kept +
               " Restart the game to see it.";
    return true;
}
