// The resources the module hands the system, written by the module itself
// from pixels: nothing of a player's bytes but pixels, hotspots, steps and
// rates. Sides are at most MAX_IMAGE_SIDE.
//
// A cursor image (what CreateIconFromResourceEx takes), little-endian:
//   0    2+2  hotspot x, y
//   4    40   bitmap header: 40, width, height * 2 (colour and mask rows),
//             planes 1, 32 bits, no compression, the rest 0
//   44        colour rows, bottom row first: blue, green, red, alpha
//   ...       AND mask rows, bottom row first: 1 bit a pixel, padded to 4 bytes
// With alpha, a fully transparent pixel's colour is 0 (nothing is XORed onto
// the screen); without, every alpha byte is 0 and the system draws by the
// mask and colour (so inverting pixels still invert).
//
// An animated cursor:
//   "RIFF" length "ACON"
//   "anih" 36: 36, frames, steps, width, height, 32 bits, 1 plane,
//             display rate, flags (frames are icons | the steps have a sequence)
//   "LIST" length "fram", then a frame each: "icon" length, a cursor file:
//             reserved 0, type 2, count 1; one 16-byte entry: width, height
//             (0 for 256), 0, 0, hotspot x, y, image bytes, offset 22;
//             the image as above, without its hotspot
//   "seq " 4 a step: the frame it shows
//   "rate" 4 a step: how long it shows, in sixtieths of a second
// Every image's length is a multiple of 4, so no chunk needs a pad byte.
#include "cursors/cursor_format.h"
#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"

namespace {

const uint32_t HOTSPOT_SIZE = 4;
const uint32_t BITMAP_HEADER_SIZE = 40;
const uint32_t BITS = 32;
const uint32_t FRAME_HEADER_SIZE = ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE;
const uint32_t ANIH_RATE = 28;
const uint32_t ANIH_FLAG_ICONS = 1;
const uint32_t LARGEST_ENTRY_SIDE = 256;  // written as 0
// Where the first frame's chunk starts.
const uint32_t FIRST_FRAME = RIFF_HEADER_SIZE + CHUNK_HEADER_SIZE + ANIH_SIZE + LIST_HEADER_SIZE;
// Colour and mask rows are whole 4-byte words: a frame's chunk is even.
static_assert((FRAME_HEADER_SIZE + BITMAP_HEADER_SIZE) % 2 == 0, "frames need no pad byte");

uint32_t mask_row_bytes(uint32_t width) { return (width + 31) / 32 * 4; }

bool sides_fit(uint32_t width, uint32_t height) {
    return width && height && width <= MAX_IMAGE_SIDE && height <= MAX_IMAGE_SIDE;
}

// The bitmap alone: header, colour rows, mask rows.
uint32_t bitmap_size(uint32_t width, uint32_t height) {
    return BITMAP_HEADER_SIZE + width * height * 4 + mask_row_bytes(width) * height;
}

uint32_t write_bitmap(const Picture& picture, uint8_t* out) {
    uint32_t width = picture.width, height = picture.height;
    memset(out, 0, BITMAP_HEADER_SIZE);
    write_u32(out, BITMAP_HEADER_SIZE);
    write_u32(out + 4, width);
    write_u32(out + 8, 2 * height);
    write_u16(out + 12, 1);
    write_u16(out + 14, BITS);
    uint8_t* colour = out + BITMAP_HEADER_SIZE;
    uint8_t* mask = colour + width * height * 4;
    uint32_t mask_stride = mask_row_bytes(width);
    memset(mask, 0, mask_stride * height);
    for (uint32_t y = 0; y < height; ++y) {
        const uint32_t* pixels = picture.colour + (height - 1 - y) * width;
        const uint8_t* masked = picture.mask + (height - 1 - y) * width;
        uint8_t* colour_row = colour + 4 * y * width;
        uint8_t* mask_row = mask + y * mask_stride;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t pixel = pixels[x];
            if (picture.alpha && !(pixel >> 24))
                pixel = 0;
            else if (!picture.alpha)
                pixel &= 0xffffffu;
            write_u32(colour_row + 4 * x, pixel);
        }
        // The mask a byte (8 pixels, leftmost in the top bit) at a time.
        for (uint32_t x = 0; x < width; x += 8) {
            uint32_t bits = 0, end = x + 8 < width ? x + 8 : width;
            for (uint32_t at = x; at < end; ++at)
                bits |= (masked[at] ? 0x80u : 0u) >> (at - x);
            mask_row[x / 8] = static_cast<uint8_t>(bits);
        }
    }
    return bitmap_size(width, height);
}

uint32_t icon_chunk_size(uint32_t width, uint32_t height) {
    return CHUNK_HEADER_SIZE + FRAME_HEADER_SIZE + bitmap_size(width, height);
}

void write_chunk_header(uint8_t* out, uint32_t id, uint32_t length) {
    write_u32(out, id);
    write_u32(out + 4, length);
}

}  // namespace

uint32_t cursor_image_size(uint32_t width, uint32_t height) {
    return sides_fit(width, height) ? HOTSPOT_SIZE + bitmap_size(width, height) : 0;
}

uint32_t emit_cursor_image(const Picture& picture, uint16_t hot_x, uint16_t hot_y, uint8_t* out) {
    write_u16(out, hot_x);
    write_u16(out + 2, hot_y);
    return HOTSPOT_SIZE + write_bitmap(picture, out + HOTSPOT_SIZE);
}

uint32_t animated_cursor_size(uint32_t frames, uint32_t steps, uint32_t width, uint32_t height) {
    if (!sides_fit(width, height) || width > LARGEST_ENTRY_SIDE || height > LARGEST_ENTRY_SIDE)
        return 0;
    uint64_t size = FIRST_FRAME +
                    static_cast<uint64_t>(frames) * icon_chunk_size(width, height) +
                    2 * (CHUNK_HEADER_SIZE + 4 * static_cast<uint64_t>(steps));
    return size <= UINT32_MAX ? static_cast<uint32_t>(size) : 0;
}

void begin_animated_cursor(uint8_t* out, uint32_t frames, uint32_t steps, uint32_t width,
                           uint32_t height, AnimatedWriter* writer) {
    writer->out = out;
    writer->frames = frames;
    writer->steps = steps;
    writer->width = width;
    writer->height = height;
    writer->frames_written = 0;
    uint32_t total = animated_cursor_size(frames, steps, width, height);
    write_chunk_header(out, ID_RIFF, total - CHUNK_HEADER_SIZE);
    write_u32(out + 8, ID_ACON);
    uint8_t* header = out + RIFF_HEADER_SIZE;
    write_chunk_header(header, ID_ANIH, ANIH_SIZE);
    uint8_t* fields = header + CHUNK_HEADER_SIZE;
    memset(fields, 0, ANIH_SIZE);
    write_u32(fields, ANIH_SIZE);
    write_u32(fields + ANIH_FRAMES, frames);
    write_u32(fields + ANIH_STEPS, steps);
    write_u32(fields + ANIH_WIDTH, width);
    write_u32(fields + ANIH_HEIGHT, height);
    write_u32(fields + 20, BITS);
    write_u32(fields + 24, 1);
    write_u32(fields + ANIH_RATE, 1);
    write_u32(fields + ANIH_FLAGS, ANIH_FLAG_ICONS | ANIH_FLAG_SEQUENCE);
    uint8_t* list = fields + ANIH_SIZE;
    write_chunk_header(list, ID_LIST, 4 + frames * icon_chunk_size(width, height));
    write_u32(list + 8, ID_FRAM);
    writer->length = FIRST_FRAME;
}

void add_animated_frame(AnimatedWriter* writer, const Picture& picture, uint16_t hot_x,
                        uint16_t hot_y) {
    uint8_t* chunk = writer->out + writer->length;
    uint32_t image = bitmap_size(picture.width, picture.height);
    write_chunk_header(chunk, ID_ICON, FRAME_HEADER_SIZE + image);
    uint8_t* directory = chunk + CHUNK_HEADER_SIZE;
    memset(directory, 0, FRAME_HEADER_SIZE);
    write_u16(directory + 2, ICON_DIR_TYPE_CURSOR);
    write_u16(directory + ICON_DIR_COUNT, 1);
    uint8_t* entry = directory + ICON_DIR_HEADER_SIZE;
    entry[0] = static_cast<uint8_t>(picture.width);   // 256 as 0
    entry[1] = static_cast<uint8_t>(picture.height);
    write_u16(entry + ENTRY_HOTSPOT, hot_x);
    write_u16(entry + ENTRY_HOTSPOT + 2, hot_y);
    write_u32(entry + 8, image);
    write_u32(entry + ENTRY_IMAGE_OFFSET, FRAME_HEADER_SIZE);
    write_bitmap(picture, directory + FRAME_HEADER_SIZE);
    writer->length += CHUNK_HEADER_SIZE + FRAME_HEADER_SIZE + image;
    ++writer->frames_written;
}

void repeat_animated_frame(AnimatedWriter* writer, uint32_t earlier, uint16_t hot_x,
                           uint16_t hot_y) {
    uint32_t chunk_size = icon_chunk_size(writer->width, writer->height);
    uint8_t* chunk = writer->out + writer->length;
    memcpy(chunk, writer->out + FIRST_FRAME + earlier * chunk_size, chunk_size);
    uint8_t* entry = chunk + CHUNK_HEADER_SIZE + ICON_DIR_HEADER_SIZE;
    write_u16(entry + ENTRY_HOTSPOT, hot_x);
    write_u16(entry + ENTRY_HOTSPOT + 2, hot_y);
    writer->length += chunk_size;
    ++writer->frames_written;
}

uint32_t end_animated_cursor(AnimatedWriter* writer, const uint16_t* frame_of_step,
                             const uint32_t* rate_of_step) {
    uint8_t* out = writer->out;
    if (writer->steps)
        write_u32(out + RIFF_HEADER_SIZE + CHUNK_HEADER_SIZE + ANIH_RATE, rate_of_step[0]);
    uint8_t* chunk = out + writer->length;
    write_chunk_header(chunk, ID_SEQUENCE, 4 * writer->steps);
    for (uint32_t i = 0; i < writer->steps; ++i)
        write_u32(chunk + CHUNK_HEADER_SIZE + 4 * i, frame_of_step[i]);
    chunk += CHUNK_HEADER_SIZE + 4 * writer->steps;
    write_chunk_header(chunk, ID_RATE, 4 * writer->steps);
    for (uint32_t i = 0; i < writer->steps; ++i)
        write_u32(chunk + CHUNK_HEADER_SIZE + 4 * i, rate_of_step[i]);
    writer->length += 2 * (CHUNK_HEADER_SIZE + 4 * writer->steps);
    return writer->length;
}
