#include "tests/support/cursor_judgement.h"

#include <string.h>

#include "cursors/animated_copy.h"

bool starts_as_riff(const BYTE* bytes, DWORD size) {
    return size >= 4 && memcmp(bytes, "RIFF", 4) == 0;
}

bool judge_cursor_file(const BYTE* bytes, DWORD size, BYTE* copy, CursorFileLayout* layout) {
    if (size)
        memcpy(copy, bytes, size);
    return check_private_copy(copy, size, layout);
}
