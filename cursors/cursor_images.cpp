#include "cursors/cursor_images.h"

namespace {

const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t BI_RGB_COMPRESSION = 0;
// An image's height counts its colour rows and its mask rows: at least one of
// each. Wine's animated-cursor reader divides by the number of rows.
const uint32_t MIN_IMAGE_HEIGHT = 2;
// A core header's image is read by Wine as if its header were the larger
// one: the palette's bytes 14 and 15 are taken for a bit count, and 32 there
// makes it walk 32-bit pixels the image does not have.
const uint32_t CORE_MISREAD_BIT_COUNT_OFFSET = 14;
const uint16_t MISREAD_ALPHA_BITS = 32;
// What every PNG image starts with: the full signature, then the length (13)
// and name of its header chunk, whose data and checksum follow. Wine's
// readers take the header for granted after the signature's first bytes.
const uint8_t PNG_START[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                             0,    0,   0,   13,  'I',  'H',  'D',  'R'};
const uint32_t PNG_HEADER_SIZE = sizeof PNG_START + 13 + 4;
const uint32_t PNG_DEPTH = 32;
// The smallest image any reader takes: a core header, two palette entries
// and a colour row of four bytes. A directory holds at most as many entries
// as it has room for an entry and such an image each, so that its entries
// cost no more to look at than its bytes.
const uint32_t SMALLEST_IMAGE_SIZE = CORE_HEADER_SIZE + 2 * 3 + 4;
// Entry widths and heights are one byte; 0 stands for the image's own side.
const uint32_t ENTRY_WIDTH = 0, ENTRY_HEIGHT = 1;

uint32_t big_endian_u32(const uint8_t* at) {
    return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
           (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

// Callers have bounded the width by MAX_IMAGE_SIDE and the bits by 32: the
// sizes below stay far inside 32 bits.
uint32_t row_bytes(uint32_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

bool side_fits(uint32_t side) { return side > 0 && side <= MAX_IMAGE_SIDE; }

bool png_is_sound(const uint8_t* image, uint32_t room, ImageChoice* facts) {
    if (room < PNG_HEADER_SIZE || memcmp(image, PNG_START, sizeof PNG_START) != 0)
        return false;
    facts->image_width = big_endian_u32(image + sizeof PNG_START);
    facts->image_height = big_endian_u32(image + sizeof PNG_START + 4);
    facts->depth = PNG_DEPTH;
    return side_fits(facts->image_width) && side_fits(facts->image_height);
}

// A 12-byte core header: 1, 4 or 8 bits with its palette of 3-byte entries.
// Deeper core images have no palette, and Wine reads heap bytes beyond the
// header as their bit count.
bool core_image_is_sound(const uint8_t* image, uint32_t room, ImageChoice* facts) {
    uint32_t width = read_u16(image + 4), height = read_u16(image + 6);
    uint32_t bits = read_u16(image + 10);
    if (bits != 1 && bits != 4 && bits != 8)
        return false;
    if (!side_fits(width) || height < MIN_IMAGE_HEIGHT || !side_fits(height / 2))
        return false;
    uint32_t needed = CORE_HEADER_SIZE + (3u << bits) + row_bytes(width, bits) * (height / 2);
    if (needed > room || read_u16(image + CORE_MISREAD_BIT_COUNT_OFFSET) == MISREAD_ALPHA_BITS)
        return false;
    facts->image_width = width;
    facts->image_height = height / 2;
    facts->depth = bits;
    return true;
}

// A 40-byte header, uncompressed, whose colour table and colour rows fit in
// `room`; the mask may be missing (loaders then use none).
bool info_image_is_sound(const uint8_t* image, uint32_t room, ImageChoice* facts) {
    if (room < INFO_HEADER_SIZE)
        return false;
    int32_t width = static_cast<int32_t>(read_u32(image + 4));
    int32_t signed_height = static_cast<int32_t>(read_u32(image + 8));
    uint32_t planes = read_u16(image + 12), bits = read_u16(image + 14);
    uint32_t compression = read_u32(image + 16), colours_used = read_u32(image + 32);
    // Top-down images count their rows negative. Negated unsigned, the most
    // negative value (which has no positive counterpart) stays far beyond
    // any image.
    uint32_t height = static_cast<uint32_t>(signed_height);
    if (signed_height < 0)
        height = 0u - height;
    if (width <= 0 || !side_fits(static_cast<uint32_t>(width)) || height < MIN_IMAGE_HEIGHT ||
        height / 2 > MAX_IMAGE_SIDE || planes != 1 || compression != BI_RGB_COMPRESSION)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    uint32_t colours = colours_used ? colours_used : (bits <= 8 ? (1u << bits) : 0);
    if (colours > 256)
        return false;
    uint32_t rows = height / 2;
    uint32_t needed = INFO_HEADER_SIZE + colours * 4 + row_bytes(static_cast<uint32_t>(width), bits) * rows;
    facts->image_width = static_cast<uint32_t>(width);
    facts->image_height = rows;
    facts->depth = bits;
    return needed <= room;
}

// The entry at `entry` (inside the directory) when its image lies whole in
// the directory's bytes, from its offset to their end.
bool entry_is_sound(const uint8_t* directory, uint32_t length, uint32_t entry, ImageChoice* facts) {
    const uint8_t* fields = directory + entry;
    uint32_t offset = read_u32(fields + ENTRY_IMAGE_OFFSET);
    // An image starts past the directory's header (and so leaves room for
    // a hotspot before it when it is handed over alone).
    if (offset < ICON_DIR_HEADER_SIZE || offset >= length)
        return false;
    const uint8_t* image = directory + offset;
    uint32_t room = length - offset;
    bool sound;
    if (room >= sizeof ID_PNG && read_u32(image) == ID_PNG)
        sound = png_is_sound(image, room, facts);
    else if (room < CORE_HEADER_SIZE)
        sound = false;
    else if (read_u32(image) == CORE_HEADER_SIZE)
        sound = core_image_is_sound(image, room, facts);
    else
        sound = read_u32(image) == INFO_HEADER_SIZE && info_image_is_sound(image, room, facts);
    if (!sound)
        return false;
    facts->entry = entry;
    // A PNG image counts at its own size (as the system measures it); an
    // entry of another image at its width and height, 0 standing for the
    // image's own.
    bool png = read_u32(image) == ID_PNG;
    facts->width = png || !fields[ENTRY_WIDTH] ? facts->image_width : fields[ENTRY_WIDTH];
    facts->height = png || !fields[ENTRY_HEIGHT] ? facts->image_height : fields[ENTRY_HEIGHT];
    return true;
}

uint32_t entry_count(const uint8_t* directory) { return read_u16(directory + ICON_DIR_COUNT); }

uint32_t distance(uint32_t a, uint32_t b) { return a > b ? a - b : b - a; }

}  // namespace

bool read_directory(const uint8_t* directory, uint32_t length, DirectoryFacts* facts) {
    memset(facts, 0, sizeof *facts);
    if (length < ICON_DIR_HEADER_SIZE)
        return false;
    uint32_t type = read_u16(directory + 2), count = entry_count(directory);
    if ((type != 1 && type != 2) || count == 0 ||
        count > (length - ICON_DIR_HEADER_SIZE) / (ICON_DIR_ENTRY_SIZE + SMALLEST_IMAGE_SIZE))
        return false;
    bool found = false;
    for (uint32_t i = 0; i < count; ++i) {
        ImageChoice entry;
        if (!entry_is_sound(directory, length, ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i, &entry))
            continue;
        if (!found)
            facts->first = entry;
        else if (entry.image_width != facts->first.image_width ||
                 entry.image_height != facts->first.image_height)
            facts->several_sizes = true;
        found = true;
    }
    return found;
}

ImageChoice choose_image(const uint8_t* directory, uint32_t length, uint32_t width, uint32_t height) {
    ImageChoice best;
    memset(&best, 0, sizeof best);
    bool found = false;
    uint32_t best_distance = 0;
    for (uint32_t i = 0, count = entry_count(directory); i < count; ++i) {
        ImageChoice entry;
        if (!entry_is_sound(directory, length, ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i, &entry))
            continue;
        if (!found && !width && !height) {
            width = entry.width;
            height = entry.height;
        }
        uint32_t apart = distance(entry.width, width) + distance(entry.height, height);
        if (!found || apart < best_distance || (apart == best_distance && entry.depth > best.depth)) {
            best = entry;
            best_distance = apart;
        }
        found = true;
    }
    return best;
}
