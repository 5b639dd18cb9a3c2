#include "support/scratch_folder.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <stdio.h>

namespace {

const DWORD REMOVAL_WAIT_MS = 5000;

std::string current_directory() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return std::string(buffer, length);
}

std::string unique_temp_folder() {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    static int counter;
    char name[MAX_PATH];
    snprintf(name, sizeof name, "%squillmere-test-%lu-%lu-%d", temp, GetCurrentProcessId(),
             GetTickCount(), ++counter);
    return name;
}

// Wide throughout: a test may make names outside the ANSI code page
// (a game folder in Cyrillic), which the ANSI calls can't reach.
bool remove_tree_wide(const std::wstring& path, std::wstring* left) {
    bool removed = true;
    WIN32_FIND_DATAW entry;
    HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring child = path + L"\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removed = remove_tree_wide(child, left) && removed;
                continue;
            }
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!DeleteFileW(child.c_str())) {
                if (removed)
                    *left = child;
                removed = false;
            }
        } while (FindNextFileW(search, &entry));
        FindClose(search);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!RemoveDirectoryW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND &&
        GetLastError() != ERROR_PATH_NOT_FOUND) {
        if (removed)
            *left = path;
        removed = false;
    }
    return removed;
}

}  // namespace

ScratchFolder::ScratchFolder(bool with_plugin_folder)
    : path_(unique_temp_folder()), previous_(current_directory()) {
    CreateDirectoryA(path_.c_str(), NULL);
    SetCurrentDirectoryA(path_.c_str());
    if (with_plugin_folder)
        CreateDirectoryA("plugin", NULL);
}

ScratchFolder::~ScratchFolder() {
    SetCurrentDirectoryA(previous_.c_str());
    // A child process that just ended (and the console host Wine starts for
    // it) may hold the folder as its current directory a moment longer.
    std::string left;
    for (DWORD start = GetTickCount(); !remove_tree(path_, &left);) {
        if (GetTickCount() - start > REMOVAL_WAIT_MS) {
            ADD_FAILURE() << "the test left " << left << " behind (error " << GetLastError()
                          << "; still open or still loaded?)";
            break;
        }
        Sleep(20);
    }
}

bool file_exists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool folder_exists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string read_file(const std::string& path) {
    std::string bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, got);
    fclose(file);
    return bytes;
}

bool write_file(const std::string& path, const std::string& bytes) {
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return fclose(file) == 0 && ok;
}

bool remove_tree(const std::string& path, std::string* left) {
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return false;
    std::wstring left_wide;
    bool removed = remove_tree_wide(wide, &left_wide);
    if (!removed && left) {
        char name[MAX_PATH * 3] = "";
        WideCharToMultiByte(CP_UTF8, 0, left_wide.c_str(), -1, name, sizeof name, NULL, NULL);
        *left = name;
    }
    return removed;
}

std::string program_folder() {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, buffer, sizeof buffer);
    std::string path(buffer, length);
    return path.substr(0, path.find_last_of("\\/"));
}

std::string built_module_path() {
    // Test programs live in <build>\tests; the module in <build>\plugin.
    return program_folder() + "\\..\\plugin\\Quillmere.yrp";
}
