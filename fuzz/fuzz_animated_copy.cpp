// libFuzzer target: the private copy of an animated cursor. The first two
// bytes choose the size asked (through SIDES, 0 among them), the rest is the
// file. Preparing any bytes stays inside them; a file the module's judgement
// accepts keeps the properties the loader relies on, else abort().
#include <stdlib.h>
#include <string.h>

#include "cursors/animated_copy.h"
#include "tests/support/cursor_judgement.h"

namespace {

const size_t SIZE_BYTES = 2;
const DWORD MAX_FRAMES = 1024;
const DWORD SIDES[] = {0,   1,   16,  31,   32,   33,    48,         64,
                       96,  128, 256, 1024, 1025, 65535, 0x7fffffffu, 0xffffffffu};
const DWORD SIDE_COUNT = sizeof SIDES / sizeof SIDES[0];
// The size set again when the input asks for none.
const DWORD OTHER_SIDE = 32;

struct Buffer {
    explicit Buffer(DWORD size) : bytes(new BYTE[size]) {}
    ~Buffer() { delete[] bytes; }
    BYTE* bytes;
};

void require(bool holds) {
    if (!holds)
        abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < SIZE_BYTES)
        return 0;
    DWORD width = SIDES[data[0] % SIDE_COUNT], height = SIDES[data[1] % SIDE_COUNT];
    const BYTE* file = data + SIZE_BYTES;
    DWORD length = static_cast<DWORD>(size - SIZE_BYTES);

    // Any bytes: prepared in a buffer of their size; refused ones untouched.
    Buffer any(length);
    if (length)
        memcpy(any.bytes, file, length);
    if (!prepare_animated_copy(any.bytes, length, width, height))
        require(length == 0 || memcmp(any.bytes, file, length) == 0);

    Buffer judged(length);
    CursorFileLayout layout;
    if (!judge_cursor_file(file, length, judged.bytes, &layout))
        return 0;
    require(layout.frames >= 1 && layout.frames <= MAX_FRAMES);
    if (!starts_as_riff(file, length))
        return 0;

    // Preparing the prepared copy again changes nothing.
    Buffer again(length);
    memcpy(again.bytes, judged.bytes, length);
    prepare_animated_copy(again.bytes, length, 0, 0);
    require(memcmp(again.bytes, judged.bytes, length) == 0);

    // A size the loader may ask (all frames within the pixel limit) keeps
    // the copy sound.
    if (!width || !height)
        width = height = OTHER_SIDE;
    if (static_cast<DWORD64>(width) * height * layout.frames > MAX_CURSOR_PIXELS)
        return 0;
    memcpy(again.bytes, judged.bytes, length);
    require(prepare_animated_copy(again.bytes, length, width, height));
    require(check_cursor_file(again.bytes, length, NULL));
    return 0;
}
