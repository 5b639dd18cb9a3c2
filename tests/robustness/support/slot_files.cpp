#include "tests/robustness/support/slot_files.h"

#include "support/scratch_folder.h"

#include <stdio.h>

std::string slot_file_path(int index) {
    char path[MAX_PATH];
    if (index < SLOTS_PER_TABLE)
        snprintf(path, sizeof path, "plugin\\Cursors\\cursor%d.ani", index);
    else
        snprintf(path, sizeof path, "plugin\\Cursors\\Animated\\cursor%d.ani", index - SLOTS_PER_TABLE);
    return path;
}

SlotFiles::SlotFiles() {
    CreateDirectoryA("plugin", NULL);
    CreateDirectoryA("plugin\\Cursors", NULL);
    CreateDirectoryA("plugin\\Cursors\\Animated", NULL);
    for (HANDLE& lock : locks_)
        lock = INVALID_HANDLE_VALUE;
}

SlotFiles::~SlotFiles() { clear_all(); }

bool SlotFiles::place(int index, const MalformedCursor& entry) {
    clear(index);
    std::string path = slot_file_path(index);
    if (entry.kind == EntryKind::FOLDER)
        return CreateDirectoryA(path.c_str(), NULL) != 0;
    if (!write_file(path, entry.bytes))
        return false;
    if (entry.kind == EntryKind::UNREADABLE) {
        locks_[index] = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, NULL);
        return locks_[index] != INVALID_HANDLE_VALUE;
    }
    return true;
}

void SlotFiles::clear(int index) {
    if (locks_[index] != INVALID_HANDLE_VALUE) {
        CloseHandle(locks_[index]);
        locks_[index] = INVALID_HANDLE_VALUE;
    }
    std::string path = slot_file_path(index);
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(path.c_str());
    else
        DeleteFileA(path.c_str());
}

void SlotFiles::clear_all() {
    for (int index = 0; index < SLOT_FILES; ++index)
        clear(index);
}
