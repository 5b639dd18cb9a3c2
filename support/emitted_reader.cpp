#include "support/emitted_reader.h"

#include <string.h>

namespace {

const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t ANIH_SIZE = 36;
const uint32_t ICON_HEADER_SIZE = 6 + 16;
const uint32_t FLAG_ICON = 1, FLAG_SEQUENCE = 2;
const uint32_t MAX_SIDE = 256;

uint32_t u32(const uint8_t* at) {
    uint32_t value;
    memcpy(&value, at, 4);
    return value;
}
uint16_t u16(const uint8_t* at) {
    uint16_t value;
    memcpy(&value, at, 2);
    return value;
}
bool is(const uint8_t* at, const char* id) { return memcmp(at, id, 4) == 0; }

uint32_t image_bytes(uint32_t width, uint32_t height) {
    return INFO_HEADER_SIZE + width * height * 4 + (width + 31) / 32 * 4 * height;
}

// A 40-byte header of a 32-bit, uncompressed image of `width` by `height`
// (height doubled for the mask), no palette.
bool image_is_exact(const uint8_t* image, uint32_t width, uint32_t height) {
    uint32_t size_image = u32(image + 20);
    return u32(image) == INFO_HEADER_SIZE && u32(image + 4) == width &&
           u32(image + 8) == 2 * height && u16(image + 12) == 1 && u16(image + 14) == 32 &&
           u32(image + 16) == 0 &&
           (size_image == 0 || size_image == image_bytes(width, height) - INFO_HEADER_SIZE) &&
           u32(image + 32) == 0 && u32(image + 36) == 0;
}

bool read_single(const uint8_t* bytes, uint32_t length, EmittedCursor* cursor) {
    if (length < 4 + INFO_HEADER_SIZE)
        return false;
    const uint8_t* image = bytes + 4;
    uint32_t width = u32(image + 4), height = u32(image + 8) / 2;
    if (width == 0 || height == 0 || width > MAX_SIDE || height > MAX_SIDE ||
        length != 4 + image_bytes(width, height) || !image_is_exact(image, width, height))
        return false;
    cursor->width = width;
    cursor->height = height;
    cursor->frames = cursor->steps = 1;
    cursor->hot_x.assign(1, u16(bytes));
    cursor->hot_y.assign(1, u16(bytes + 2));
    cursor->frame_of_step.assign(1, 0);
    return true;
}

// One "icon" chunk at `at` holding one cursor image of the header's size.
bool read_frame(const uint8_t* at, const EmittedCursor& cursor, uint16_t* hot_x, uint16_t* hot_y) {
    uint32_t image = image_bytes(cursor.width, cursor.height);
    const uint8_t* entry = at + 8 + 6;
    if (!is(at, "icon") || u32(at + 4) != ICON_HEADER_SIZE + image || u16(at + 8) != 0 ||
        u16(at + 10) != 2 || u16(at + 12) != 1 || entry[0] != (cursor.width & 0xff) ||
        entry[1] != (cursor.height & 0xff) || entry[2] != 0 || entry[3] != 0 ||
        u32(entry + 8) != image || u32(entry + 12) != ICON_HEADER_SIZE)
        return false;
    *hot_x = u16(entry + 4);
    *hot_y = u16(entry + 6);
    return image_is_exact(at + 8 + ICON_HEADER_SIZE, cursor.width, cursor.height);
}

// A chunk `id` of one 32-bit value a step at `*position`.
bool read_steps(const uint8_t* bytes, uint32_t length, uint32_t* position, const char* id,
                uint32_t steps, std::vector<uint32_t>* values) {
    uint32_t at = *position;
    if (length - at < 8 || !is(bytes + at, id) || u32(bytes + at + 4) != 4 * steps ||
        length - at - 8 < 4 * steps || !values->empty())
        return false;
    for (uint32_t i = 0; i < steps; ++i)
        values->push_back(u32(bytes + at + 8 + 4 * i));
    *position = at + 8 + 4 * steps;
    return true;
}

bool read_animated(const uint8_t* bytes, uint32_t length, EmittedCursor* cursor) {
    if (length < 12 + 8 + ANIH_SIZE + 12 || !is(bytes, "RIFF") || u32(bytes + 4) != length - 8 ||
        !is(bytes + 8, "ACON") || !is(bytes + 12, "anih") || u32(bytes + 16) != ANIH_SIZE)
        return false;
    const uint8_t* anih = bytes + 20;
    cursor->frames = u32(anih + 4);
    cursor->steps = u32(anih + 8);
    cursor->width = u32(anih + 12);
    cursor->height = u32(anih + 16);
    uint32_t flags = u32(anih + 32);
    if (u32(anih) != ANIH_SIZE || cursor->frames == 0 || cursor->frames > 1024 ||
        cursor->steps == 0 || cursor->steps > 1024 || cursor->width == 0 || cursor->height == 0 ||
        cursor->width > MAX_SIDE || cursor->height > MAX_SIDE ||
        flags != (FLAG_ICON | FLAG_SEQUENCE))
        return false;
    const uint8_t* list = bytes + 20 + ANIH_SIZE;
    uint32_t frame_bytes = 8 + ICON_HEADER_SIZE + image_bytes(cursor->width, cursor->height);
    uint32_t list_end = 20 + ANIH_SIZE + 12 + cursor->frames * frame_bytes;
    if (!is(list, "LIST") || !is(list + 8, "fram") ||
        u32(list + 4) != 4 + cursor->frames * frame_bytes || list_end > length)
        return false;
    cursor->hot_x.resize(cursor->frames);
    cursor->hot_y.resize(cursor->frames);
    for (uint32_t frame = 0; frame < cursor->frames; ++frame)
        if (!read_frame(list + 12 + frame * frame_bytes, *cursor, &cursor->hot_x[frame],
                        &cursor->hot_y[frame]))
            return false;
    // The sequence and the rates, in either order, each once.
    uint32_t position = list_end;
    for (int chunk = 0; chunk < 2; ++chunk) {
        if (length - position >= 4 && is(bytes + position, "seq "))
            if (!read_steps(bytes, length, &position, "seq ", cursor->steps,
                            &cursor->frame_of_step))
                return false;
        if (length - position >= 4 && is(bytes + position, "rate"))
            if (!read_steps(bytes, length, &position, "rate", cursor->steps, &cursor->rate_of_step))
                return false;
    }
    if (position != length || cursor->frame_of_step.size() != cursor->steps ||
        cursor->rate_of_step.size() != cursor->steps)
        return false;
    for (uint32_t frame : cursor->frame_of_step)
        if (frame >= cursor->frames)
            return false;
    return true;
}

}  // namespace

bool read_emitted_cursor(const uint8_t* bytes, uint32_t length, bool animated,
                         EmittedCursor* cursor) {
    *cursor = EmittedCursor();
    return animated ? read_animated(bytes, length, cursor) : read_single(bytes, length, cursor);
}
