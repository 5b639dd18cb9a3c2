// libFuzzer target: the private copy and what the system is handed. The
// first two bytes choose the size asked (through SIDES, 0 among them), the
// rest is the file. Preparing any bytes stays inside them and leaves refused
// ones as they were; a file the module's judgement accepts is fitted to the
// size asked and handed over as the builder gets it, in a buffer of exactly
// that size, which a reader as tolerant as the system's walks without
// reading past it and through every frame, else abort().
#include <stdlib.h>
#include <string.h>

#include "cursors/animated_copy.h"
#include "cursors/cursor_layout.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/system_reader.h"

namespace {

const size_t SIZE_BYTES = 2;
const uint32_t SIDES[] = {0,   1,   16,  31,   32,   33,    48,         64,
                          96,  128, 256, 1024, 1025, 65535, 0x7fffffffu, 0xffffffffu};
const uint32_t SIDE_COUNT = sizeof SIDES / sizeof SIDES[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < SIZE_BYTES)
        return 0;
    uint32_t width = SIDES[data[0] % SIDE_COUNT], height = SIDES[data[1] % SIDE_COUNT];
    const uint8_t* file = data + SIZE_BYTES;
    uint32_t length = static_cast<uint32_t>(size - SIZE_BYTES);

    // Any bytes: prepared in a buffer of their size; refused ones untouched.
    Buffer any(length);
    if (length)
        memcpy(any.bytes, file, length);
    AnimatedCopy copy;
    if (!prepare_animated_copy(any.bytes, length, &copy))
        require(length == 0 || memcmp(any.bytes, file, length) == 0);
    else
        require(copy.end <= length && copy.header && copy.header < copy.end);

    Buffer judged(length);
    if (length)
        memcpy(judged.bytes, file, length);
    CursorLayout layout;
    if (!judge_cursor_file(judged.bytes, length, &layout))
        return 0;
    bool reduced;
    require(fit_cursor_size(judged.bytes, layout, MAX_CURSOR_PIXELS, &width, &height, &reduced));
    CursorResource resource = prepare_cursor_resource(judged.bytes, layout, width, height);
    if (!resource.length)
        return 0;
    require(resource.offset <= length && resource.length <= length - resource.offset);
    Buffer handed(resource.length);
    memcpy(handed.bytes, judged.bytes + resource.offset, resource.length);
    require(walk_as_the_system_reads(handed.bytes, resource.length) == layout.frames);
    return 0;
}
