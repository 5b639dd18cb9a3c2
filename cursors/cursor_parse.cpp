#include "cursors/cursor_parse.h"

#include "cursors/image_header.h"

namespace {

// Entry widths and heights are one byte; 0 stands for the image's own side.
const uint32_t ENTRY_WIDTH = 0, ENTRY_HEIGHT = 1;
const uint32_t ANIH_RATE = 28;

// The entry `fields` of the directory at `directory` (`length` bytes, its
// entries ending at `entries_end`) when it points at an image the module
// can decode, lying after the entries and inside the directory's bytes.
bool read_entry(const uint8_t* file, uint32_t directory, uint32_t length, uint32_t entries_end,
                const uint8_t* fields, bool icon, CursorImage* found) {
    uint32_t offset = read_u32(fields + ENTRY_IMAGE_OFFSET);
    if (offset < entries_end || offset >= length)
        return false;
    ImageHeader header;
    if (!read_image_header(file + directory + offset, length - offset, &header))
        return false;
    found->image_width = static_cast<uint16_t>(header.width);
    found->image_height = static_cast<uint16_t>(header.height);
    found->depth = static_cast<uint16_t>(header.depth);
    found->offset = directory + offset;
    found->length = length - offset;
    // A PNG image counts at its own size; another at its entry's width and
    // height, 0 standing for the image's own.
    found->width = header.png || !fields[ENTRY_WIDTH] ? found->image_width : fields[ENTRY_WIDTH];
    found->height = header.png || !fields[ENTRY_HEIGHT] ? found->image_height : fields[ENTRY_HEIGHT];
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
