// libFuzzer target: any bytes through the strict check, from a heap buffer
// of exactly their size so that the sanitizer sees a read past the file.
#include <stdlib.h>
#include <string.h>

#include "cursors/cursor_file_check.h"

const DWORD MAX_FRAMES = 1024;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DWORD length = static_cast<DWORD>(size);
    BYTE* bytes = new BYTE[length];
    if (length)
        memcpy(bytes, data, length);
    CursorFileLayout layout;
    bool sound = check_cursor_file(bytes, length, &layout);
    // The check has one answer, whether the layout is asked for or not.
    if (sound != cursor_file_is_sound(bytes, length))
        abort();
    if (sound && (layout.frames < 1 || layout.frames > MAX_FRAMES ||
                  (!layout.animated && layout.frames != 1)))
        abort();
    delete[] bytes;
    return 0;
}
