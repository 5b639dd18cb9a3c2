#include "tests/support/cursor_judgement.h"

#include <string.h>

bool starts_as_riff(const uint8_t* bytes, uint32_t size) {
    return size >= 4 && memcmp(bytes, "RIFF", 4) == 0;
}

bool judge_cursor_file(const uint8_t* bytes, uint32_t size, uint8_t* copy, CursorLayout* layout) {
    if (size)
        memcpy(copy, bytes, size);
    CursorLayout unused;
    return judge_cursor_file(copy, size, layout ? layout : &unused);
}
