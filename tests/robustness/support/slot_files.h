// Puts corpus entries in the 44 slot files of the cursor folders (22 base
// slots, 22 animated slots) and takes them out again: files, folders in
// place of files, and files held open with no sharing while the module loads.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/malformed_corpus.h"

const int SLOTS_PER_TABLE = 22;
const int SLOT_FILES = 2 * SLOTS_PER_TABLE;

// Slot file i: base slot i for i < 22, else animated slot i - 22.
std::string slot_file_path(int index);

class SlotFiles {
public:
    SlotFiles();
    ~SlotFiles();
    SlotFiles(const SlotFiles&) = delete;
    SlotFiles& operator=(const SlotFiles&) = delete;

    // Replaces whatever slot file `index` holds with `entry`; false when the
    // file system would not take it.
    bool place(int index, const MalformedCursor& entry);
    // Removes slot file `index` (file or folder) and releases its lock.
    void clear(int index);
    void clear_all();

private:
    HANDLE locks_[SLOT_FILES];
};

