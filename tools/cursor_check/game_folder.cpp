#include "tools/cursor_check/game_folder.h"

#include <stdio.h>
#include <string.h>

#include <vector>

#include "host/host_setup.h"
#include "tools/cursor_check/console_text.h"

namespace {

const wchar_t PROBE_PREFIX[] = L"qmc";
const char CURRENT_FOLDER_PREFIX[] = ".\\";
const wchar_t PROGRAM_PATTERN[] = L"\\*.exe";
// The game's own library, beside its program where the game has one.
const wchar_t GAME_LIBRARY[] = L"\\storm.dll";
const size_t PROBE_NAME_SIZE = 64;

std::wstring parent_of(const std::wstring& path) {
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

DWORD attributes_of(const char* path) {
    return GetFileAttributesW(wide(path).c_str());
}

// A second, in file-time units: how much later than its placing a file must
// have been read to count as read since.
const ULONGLONG ONE_SECOND = 10000000;

typedef BOOL(WINAPI* FileInformationFn)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);

// A file's times, with the time its entry last changed: copying or
// unpacking a file may give it older creation and write times (the zip's),
// but never an older change time. Looked up at run time, as Windows XP has
// no such call; false without it.
bool file_times(const std::wstring& path, FILE_BASIC_INFO* times) {
    FileInformationFn information = reinterpret_cast<FileInformationFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "GetFileInformationByHandleEx")));
    if (!information)
        return false;
    HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool got = information(file, FileBasicInfo, times, sizeof *times) != 0;
    CloseHandle(file);
    return got;
}

ULONGLONG placed_time_of(const FILE_BASIC_INFO& times) {
    ULONGLONG latest = times.CreationTime.QuadPart;
    if (static_cast<ULONGLONG>(times.LastWriteTime.QuadPart) > latest)
        latest = times.LastWriteTime.QuadPart;
    if (static_cast<ULONGLONG>(times.ChangeTime.QuadPart) > latest)
        latest = times.ChangeTime.QuadPart;
    return latest;
}

// When the file was last read, if that was well after it was put in place
// (a copy counts as read the moment it is made); else 0. Windows may not
// keep the time a file was read: then this tells nothing, and nothing is
// claimed.
ULONGLONG last_read(const std::wstring& path) {
    FILE_BASIC_INFO times;
    if (!file_times(path, &times))
        return 0;
    ULONGLONG read = times.LastAccessTime.QuadPart;
    return read > placed_time_of(times) + ONE_SECOND ? read : 0;
}

// A folder's permissions can't be read reliably (access lists, read-only
// media, Wine's mapping onto Unix rights), and a temporary name may come
// back for a folder that took no file (Wine's GetTempFileName does that), so
// the only honest test is to create a file, find it and delete it again.
bool accepts_new_files(const std::wstring& folder) {
    wchar_t name[PROBE_NAME_SIZE];
    _snwprintf(name, PROBE_NAME_SIZE, L"\\%ls%lx%lx.tmp", PROBE_PREFIX, GetCurrentProcessId(),
               GetTickCount());
    name[PROBE_NAME_SIZE - 1] = L'\0';
    std::wstring probe = folder + name;
    HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, NULL, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW(probe.c_str(), &entry);
    bool found = search != INVALID_HANDLE_VALUE;
    if (found)
        FindClose(search);
    return DeleteFileW(probe.c_str()) && found;
}

bool holds_the_plugin(const std::wstring& folder) {
    std::wstring module = folder + L"\\" + wide(shown_path(PLUGIN_MODULE_PATH));
    DWORD attributes = GetFileAttributesW(module.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring current_folder() {
    wchar_t folder[MAX_PATH * 2];
    DWORD length = GetCurrentDirectoryW(MAX_PATH * 2, folder);
    return length && length < MAX_PATH * 2 ? folder : L".";
}

// The game programs (.exe files, this program excepted) in `folder`.
std::vector<std::wstring> game_programs(const std::wstring& folder) {
    std::vector<std::wstring> programs;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((folder + PROGRAM_PATTERN).c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return programs;
    do {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            lstrcmpiW(entry.cFileName, wide(CHECK_TOOL_NAME).c_str()) != 0)
            programs.push_back(entry.cFileName);
    } while (FindNextFileW(search, &entry));
    FindClose(search);
    return programs;
}

// The folder above this program's own when this program sits in a folder
// named plugin of a game folder; else empty.
std::wstring game_above_program() {
    wchar_t program[MAX_PATH * 2];
    DWORD length = GetModuleFileNameW(NULL, program, MAX_PATH * 2);
    if (length == 0 || length >= MAX_PATH * 2)
        return std::wstring();
    // Only from a folder named plugin: a build folder or a download folder
    // may have a plugin folder beside the program's too.
    std::wstring own_folder = parent_of(program);
    std::wstring game = parent_of(own_folder);
    std::wstring own_name = own_folder.substr(own_folder.find_last_of(L"\\/") + 1);
    if (game.empty() || lstrcmpiW(own_name.c_str(), wide(shown_path(PLUGIN_FOLDER)).c_str()) != 0)
        return std::wstring();
    if (!holds_the_plugin(game) && game_programs(game).empty())
        return std::wstring();
    return game;
}

}  // namespace

std::string last_part(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

InstallProblem install_problem(const GameFolder& game) {
    InstallProblem problem = {};
    if (game.has_program)
        return problem;
    if (game.program_folder.empty()) {
        problem.brief = "this is not the game's folder";
        problem.advice =
            "no game program (.exe) stands beside plugin here: the plugin folder and the "
            "Quillmere files go into the folder that holds the game's program (the .exe "
            "that starts the game)";
        return problem;
    }
    problem.brief = "the plug-in is one folder too deep";
    problem.advice = "the plug-in's files are one folder too deep: the game's program is in " +
                     game.program_folder + ", but plugin is in " + game.path +
                     ". Move the plugin folder and the Quillmere files from " +
                     last_part(game.path) + " up into " + last_part(game.program_folder) +
                     ", then start the game";
    if (last_game_start(wide(game.program_folder)) > placed_time(PLUGIN_MODULE_PATH))
        problem.advice +=
            ". The game has run since they were put here, without the plug-in: it "
            "looks for plugin\\Quillmere.yrp beside its program";
    return problem;
}

ULONGLONG last_game_start(const std::wstring& folder) {
    ULONGLONG latest = last_read(folder + GAME_LIBRARY);
    for (const std::wstring& program : game_programs(folder)) {
        ULONGLONG read = last_read(folder + L"\\" + program);
        if (read > latest)
            latest = read;
    }
    return latest;
}

ULONGLONG placed_time(const char* path) {
    FILE_BASIC_INFO times;
    // Without its times the plug-in counts as put there just now.
    return file_times(wide(path), &times) ? placed_time_of(times) : ~0ULL;
}

bool is_folder(const char* path) {
    DWORD attributes = attributes_of(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

const char* shown_path(const char* path) {
    size_t prefix = sizeof CURRENT_FOLDER_PREFIX - 1;
    return strncmp(path, CURRENT_FOLDER_PREFIX, prefix) == 0 ? path + prefix : path;
}

GameFolder enter_game_folder() {
    GameFolder game = {};
    if (is_folder(PLUGIN_FOLDER)) {
        game.found = true;
    } else {
        std::wstring above = game_above_program();
        game.found = game.moved = !above.empty() && SetCurrentDirectoryW(above.c_str());
    }
    std::wstring here = current_folder();
    game.path = utf8(here);
    if (!game.found)
        return game;
    game.has_program = !game_programs(L".").empty();
    std::wstring parent = parent_of(here);
    if (!game.has_program && !parent.empty() && !game_programs(parent).empty())
        game.program_folder = utf8(parent);
    return game;
}

FolderState cursor_folder_state(const char* folder) {
    DWORD attributes = attributes_of(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FOLDER_IS_A_FILE;
        return accepts_new_files(wide(folder)) ? FOLDER_WRITABLE : FOLDER_NOT_WRITABLE;
    }
    std::string path = folder;
    size_t slash = path.find_last_of("\\/");
    std::string parent = slash == std::string::npos ? std::string() : path.substr(0, slash);
    FolderState above =
        parent.empty() ? FOLDER_CANNOT_BE_MADE : cursor_folder_state(parent.c_str());
    return above == FOLDER_WRITABLE || above == FOLDER_CAN_BE_MADE ? FOLDER_CAN_BE_MADE
                                                                   : FOLDER_CANNOT_BE_MADE;
}

bool defaults_can_be_written(FolderState state) {
    return state == FOLDER_WRITABLE || state == FOLDER_CAN_BE_MADE;
}
