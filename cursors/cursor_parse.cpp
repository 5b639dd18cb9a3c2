#include "cursors/cursor_parse.h"

namespace {

const uint32_t CORE_HEADER_SIZE = 12;
const uint32_t INFO_HEADER_SIZE = 40;
const uint32_t BI_RGB_COMPRESSION = 0;
// An image's height counts its colour rows and its mask rows: one of each
// at least.
const uint32_t MIN_IMAGE_HEIGHT = 2;
// What every PNG image starts with: the signature, then the length (13) and
// name of its header chunk, whose data and checksum follow.
const uint8_t PNG_START[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n',
                             0,    0,   0,   13,  'I',  'H',  'D',  'R'};
const uint32_t PNG_HEADER_SIZE = sizeof PNG_START + 13 + 4;
const uint32_t PNG_DEPTH = 32;
// Entry widths and heights are one byte; 0 stands for the image's own side.
const uint32_t ENTRY_WIDTH = 0, ENTRY_HEIGHT = 1;
const uint32_t ANIH_RATE = 28;

uint32_t big_endian_u32(const uint8_t* at) {
    return (static_cast<uint32_t>(at[0]) << 24) | (static_cast<uint32_t>(at[1]) << 16) |
           (static_cast<uint32_t>(at[2]) << 8) | at[3];
}

// Callers have bounded the width by MAX_IMAGE_SIDE and the bits by 32: the
// sizes below stay far inside 32 bits.
uint32_t row_bytes(uint32_t width, uint32_t bits) { return (width * bits + 31) / 32 * 4; }

bool side_fits(uint32_t side) { return side > 0 && side <= MAX_IMAGE_SIDE; }

bool read_png_header(const uint8_t* image, uint32_t room, CursorImage* found) {
    if (room < PNG_HEADER_SIZE || memcmp(image, PNG_START, sizeof PNG_START) != 0)
        return false;
    uint32_t width = big_endian_u32(image + sizeof PNG_START);
    uint32_t height = big_endian_u32(image + sizeof PNG_START + 4);
    if (!side_fits(width) || !side_fits(height))
        return false;
    found->image_width = static_cast<uint16_t>(width);
    found->image_height = static_cast<uint16_t>(height);
    found->depth = PNG_DEPTH;
    return true;
}

// A 12-byte core header: 1, 4 or 8 bits with a palette of 3-byte entries.
bool read_core_header(const uint8_t* image, uint32_t room, CursorImage* found) {
    uint32_t width = read_u16(image + 4), height = read_u16(image + 6);
    uint32_t bits = read_u16(image + 10);
    if (bits != 1 && bits != 4 && bits != 8)
        return false;
    if (!side_fits(width) || height < MIN_IMAGE_HEIGHT || !side_fits(height / 2))
        return false;
    uint32_t needed = CORE_HEADER_SIZE + (3u << bits) + row_bytes(width, bits) * (height / 2);
    if (needed > room)
        return false;
    found->image_width = static_cast<uint16_t>(width);
    found->image_height = static_cast<uint16_t>(height / 2);
    found->depth = static_cast<uint16_t>(bits);
    return true;
}

// A 40-byte header, uncompressed, whose colour table and colour rows fit in
// `room`; the mask may be missing (the image then has none).
bool read_info_header(const uint8_t* image, uint32_t room, CursorImage* found) {
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
    uint32_t needed =
        INFO_HEADER_SIZE + colours * 4 + row_bytes(static_cast<uint32_t>(width), bits) * rows;
    found->image_width = static_cast<uint16_t>(width);
    found->image_height = static_cast<uint16_t>(rows);
    found->depth = static_cast<uint16_t>(bits);
    return needed <= room;
}

// The entry `fields` of the directory at `directory` (`length` bytes, its
// entries ending at `entries_end`) when it points at an image the module
// can decode, lying after the entries and inside the directory's bytes.
bool read_entry(const uint8_t* file, uint32_t directory, uint32_t length, uint32_t entries_end,
                const uint8_t* fields, bool icon, CursorImage* found) {
    uint32_t offset = read_u32(fields + ENTRY_IMAGE_OFFSET);
    if (offset < entries_end || offset >= length)
        return false;
    const uint8_t* image = file + directory + offset;
    uint32_t room = length - offset;
    bool png = room >= 4 && read_u32(image) == ID_PNG;
    bool sound;
    if (png)
        sound = read_png_header(image, room, found);
    else if (room < CORE_HEADER_SIZE)
        sound = false;
    else if (read_u32(image) == CORE_HEADER_SIZE)
        sound = read_core_header(image, room, found);
    else
        sound = read_u32(image) == INFO_HEADER_SIZE && read_info_header(image, room, found);
    if (!sound)
        return false;
    found->offset = directory + offset;
    found->length = room;
    // A PNG image counts at its own size; another at its entry's width and
    // height, 0 standing for the image's own.
    found->width = png || !fields[ENTRY_WIDTH] ? found->image_width : fields[ENTRY_WIDTH];
    found->height = png || !fields[ENTRY_HEIGHT] ? found->image_height : fields[ENTRY_HEIGHT];
    found->hot_x = read_u16(fields + ENTRY_HOTSPOT);
    found->hot_y = read_u16(fields + ENTRY_HOTSPOT + 2);
    found->centred = icon;
    return true;
}

// Adds the images of the directory at `directory` (`length` bytes) to the
// table as its next frame; false when it holds none or the table is full.
bool read_directory(const uint8_t* file, uint32_t directory, uint32_t length, CursorTable* table) {
    if (length < ICON_DIR_HEADER_SIZE || table->frame_count >= MAX_FRAMES)
        return false;
    const uint8_t* header = file + directory;
    uint32_t type = read_u16(header + 2), count = read_u16(header + ICON_DIR_COUNT);
    if ((type != ICON_DIR_TYPE_ICON && type != ICON_DIR_TYPE_CURSOR) || count == 0 ||
        count > (length - ICON_DIR_HEADER_SIZE) / ICON_DIR_ENTRY_SIZE)
        return false;
    uint32_t entries_end = ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * count;
    CursorFrame* frame = &table->frames[table->frame_count];
    frame->first_image = table->image_count;
    frame->image_count = 0;
    for (uint32_t i = 0; i < count; ++i) {
        CursorImage found;
        if (!read_entry(file, directory, length, entries_end,
                        header + ICON_DIR_HEADER_SIZE + ICON_DIR_ENTRY_SIZE * i,
                        type == ICON_DIR_TYPE_ICON, &found))
            continue;
        if (table->image_count >= MAX_IMAGES)
            return false;
        table->images[table->image_count++] = found;
        ++frame->image_count;
    }
    ++table->frame_count;
    return frame->image_count > 0;
}

bool several_sizes(const CursorTable& table, const CursorFrame& frame) {
    const CursorImage& first = table.images[frame.first_image];
    for (uint32_t i = 1; i < frame.image_count; ++i) {
        const CursorImage& image = table.images[frame.first_image + i];
        if (image.image_width != first.image_width || image.image_height != first.image_height)
            return true;
    }
    return false;
}

bool parse_single_image(const uint8_t* bytes, uint32_t size, CursorTable* table) {
    if (!read_directory(bytes, 0, size, table))
        return false;
    table->step_count = 1;
    table->frame_of_step[0] = 0;
    table->rate_of_step[0] = 0;
    table->several_sizes = several_sizes(*table, table->frames[0]);
    // Built at its own size, an image is its header's size.
    const CursorImage& first = table->images[0];
    table->own_width = first.image_width;
    table->own_height = first.image_height;
    return true;
}

// Where the top-level chunks of an animated cursor are (offsets of their
// data, 0 for none): the first of each kind.
struct Chunks {
    uint32_t header, frame_list, sequence, rates;
    uint32_t sequence_length, rates_length;
};

// Walks the chunks of [RIFF_HEADER_SIZE, limit), each step its length
// rounded up to even; a chunk running past the limit is cut to it.
Chunks find_chunks(const uint8_t* bytes, uint32_t limit) {
    Chunks found = {0, 0, 0, 0, 0, 0};
    uint32_t position = RIFF_HEADER_SIZE;
    while (position <= limit && limit - position >= CHUNK_HEADER_SIZE) {
        uint32_t id = read_u32(bytes + position), length = read_u32(bytes + position + 4);
        uint32_t data = position + CHUNK_HEADER_SIZE;
        if (length > limit - data)
            length = limit - data;
        // A frame list is known by its type, whatever its length says.
        if (id == ID_ANIH && !found.header && length >= ANIH_SIZE)
            found.header = data;
        else if (id == ID_LIST && !found.frame_list && limit - data >= 4 &&
                 read_u32(bytes + data) == ID_FRAM)
            found.frame_list = data + 4;
        else if (id == ID_SEQUENCE && !found.sequence)
            found.sequence = data, found.sequence_length = length;
        else if (id == ID_RATE && !found.rates)
            found.rates = data, found.rates_length = length;
        position = data + length + (length & 1);
    }
    return found;
}

// The frames, from the frame list's first chunk on, each step its length
// rounded up to even; a frame runs at most to the limit (some writers set
// the list's length short of its frames). Frames no step shows are stepped
// over unread.
bool read_frames(const uint8_t* bytes, uint32_t limit, uint32_t position, uint32_t frames,
                 const uint8_t* shown, CursorTable* table, uint16_t* table_frame) {
    for (uint32_t i = 0; i < frames; ++i) {
        if (position > limit || limit - position < CHUNK_HEADER_SIZE ||
            read_u32(bytes + position) != ID_ICON)
            return false;
        uint32_t length = read_u32(bytes + position + 4);
        uint32_t data = position + CHUNK_HEADER_SIZE;
        if (length > limit - data)
            length = limit - data;
        if (shown[i / 8] & (1u << (i % 8))) {
            table_frame[i] = static_cast<uint16_t>(table->frame_count);
            if (!read_directory(bytes, data, length, table))
                return false;
        }
        position = data + length + (length & 1);
    }
    return true;
}

bool parse_animated(const uint8_t* bytes, uint32_t size, CursorTable* table) {
    // A RIFF length past the file is taken to the file's end; some writers
    // count the RIFF header into it.
    uint32_t riff_length = read_u32(bytes + 4);
    if (riff_length > size - CHUNK_HEADER_SIZE)
        riff_length = size - CHUNK_HEADER_SIZE;
    uint32_t limit = CHUNK_HEADER_SIZE + riff_length;
    Chunks chunks = find_chunks(bytes, limit);
    if (!chunks.header || !chunks.frame_list)
        return false;
    const uint8_t* anih = bytes + chunks.header;
    uint32_t frames = read_u32(anih + ANIH_FRAMES), steps = read_u32(anih + ANIH_STEPS);
    if (frames == 0 || frames > MAX_FRAMES || steps == 0 || steps > MAX_FRAMES)
        return false;
    // Without a sequence each step shows the frame of its number.
    bool sequence = (read_u32(anih + ANIH_FLAGS) & ANIH_FLAG_SEQUENCE) && chunks.sequence;
    if (sequence && chunks.sequence_length / 4 < steps)
        return false;
    if (chunks.rates && chunks.rates_length / 4 < steps)
        return false;
    uint8_t shown[MAX_FRAMES / 8] = {};
    uint32_t frames_needed = 0;
    for (uint32_t step = 0; step < steps; ++step) {
        uint32_t frame = sequence ? read_u32(bytes + chunks.sequence + 4 * step) : step;
        if (frame >= frames)
            return false;
        shown[frame / 8] |= static_cast<uint8_t>(1u << (frame % 8));
        if (frame >= frames_needed)
            frames_needed = frame + 1;
        table->frame_of_step[step] = static_cast<uint16_t>(frame);
        table->rate_of_step[step] =
            chunks.rates ? read_u32(bytes + chunks.rates + 4 * step) : read_u32(anih + ANIH_RATE);
    }
    // File frame numbers become table frame numbers: only shown frames are
    // in the table.
    uint16_t table_frame[MAX_FRAMES];
    if (!read_frames(bytes, limit, chunks.frame_list, frames_needed, shown, table, table_frame))
        return false;
    table->animated = true;
    table->step_count = steps;
    for (uint32_t step = 0; step < steps; ++step)
        table->frame_of_step[step] = table_frame[table->frame_of_step[step]];
    const CursorFrame& first_shown = table->frames[table->frame_of_step[0]];
    table->several_sizes = several_sizes(*table, table->frames[0]);
    uint32_t width = read_u32(anih + ANIH_WIDTH), height = read_u32(anih + ANIH_HEIGHT);
    table->header_size = width && height;
    table->own_width = width && height ? width : table->images[first_shown.first_image].width;
    table->own_height = width && height ? height : table->images[first_shown.first_image].height;
    return true;
}

}  // namespace

bool parse_cursor_file(const uint8_t* bytes, uint32_t size, CursorTable* table) {
    table->animated = table->several_sizes = table->header_size = false;
    table->own_width = table->own_height = 0;
    table->frame_count = table->step_count = table->image_count = 0;
    if (is_riff_acon(bytes, size))
        return parse_animated(bytes, size, table);
    // A file that starts as RIFF but is no animated cursor is not a cursor.
    if (size >= 4 && read_u32(bytes) == ID_RIFF)
        return false;
    return parse_single_image(bytes, size, table);
}
