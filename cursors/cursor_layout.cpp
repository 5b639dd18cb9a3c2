#include "cursors/cursor_layout.h"

#include "cursors/animated_copy.h"
#include "cursors/cursor_images.h"

namespace {

// Every step names a frame there is, and every frame is named by a step:
// the system never frees a frame that no step shows.
bool sequence_is_sound(const uint8_t* entries, uint32_t steps, uint32_t frames) {
    uint8_t shown[MAX_FRAMES / 8] = {};
    for (uint32_t i = 0; i < steps; ++i) {
        uint32_t frame = read_u32(entries + 4 * i);
        if (frame >= frames)
            return false;
        shown[frame / 8] |= static_cast<uint8_t>(1u << (frame % 8));
    }
    for (uint32_t frame = 0; frame < frames; ++frame)
        if (!(shown[frame / 8] & (1u << (frame % 8))))
            return false;
    return true;
}

uint32_t chunk_length(const uint8_t* bytes, uint32_t chunk) { return read_u32(bytes + chunk + 4); }

// The frames are read one after the other, each step the chunk's length
// plus its header, without a pad byte (Wine's reader): each length but the
// last must be even, and each frame's images lie inside its own chunk. The
// file's own size is that of the frame its first step shows (the one the
// system measures), whether its images come in several sizes the first
// frame's.
bool frames_are_sound(const uint8_t* bytes, uint32_t list, uint32_t first_shown, CursorLayout* layout) {
    uint32_t list_end = list + CHUNK_HEADER_SIZE + chunk_length(bytes, list);
    uint32_t position = list + LIST_HEADER_SIZE;
    for (uint32_t i = 0; i < layout->frames; ++i) {
        if (list_end < position || list_end - position < CHUNK_HEADER_SIZE)
            return false;
        uint32_t length = chunk_length(bytes, position);
        if (read_u32(bytes + position) != ID_ICON ||
            length > list_end - position - CHUNK_HEADER_SIZE ||
            ((length & 1) && i + 1 < layout->frames))
            return false;
        DirectoryFacts facts;
        if (!read_directory(bytes + position + CHUNK_HEADER_SIZE, length, &facts))
            return false;
        if (i == 0)
            layout->several_sizes = facts.several_sizes;
        if (i == first_shown) {
            layout->own_width = facts.first.width;
            layout->own_height = facts.first.height;
        }
        position += CHUNK_HEADER_SIZE + length;
    }
    return true;
}

// An animated cursor as every reader walks its prepared copy: every chunk a
// reader looks at lies inside it, and the steps show every frame.
bool animated_file_is_sound(uint8_t* bytes, uint32_t size, CursorLayout* layout) {
    AnimatedCopy copy;
    if (!prepare_animated_copy(bytes, size, &copy) || !copy.frame_list ||
        chunk_length(bytes, copy.frame_list) < LIST_HEADER_SIZE - CHUNK_HEADER_SIZE)
        return false;
    const uint8_t* anih = bytes + copy.header + CHUNK_HEADER_SIZE;
    uint32_t frames = read_u32(anih + ANIH_FRAMES), steps = read_u32(anih + ANIH_STEPS);
    if (frames == 0 || frames > MAX_FRAMES || steps == 0 || steps > MAX_FRAMES)
        return false;
    if (copy.sequence) {
        if (chunk_length(bytes, copy.sequence) / 4 < steps ||
            !sequence_is_sound(bytes + copy.sequence + CHUNK_HEADER_SIZE, steps, frames))
            return false;
    } else if (steps != frames) {
        return false;
    }
    if (copy.rates && chunk_length(bytes, copy.rates) / 4 < steps)
        return false;
    layout->animated = true;
    layout->size = copy.end;
    layout->frames = frames;
    layout->header = copy.header + CHUNK_HEADER_SIZE;
    layout->first_frame = copy.frame_list + LIST_HEADER_SIZE;
    uint32_t first_shown = copy.sequence ? read_u32(bytes + copy.sequence + CHUNK_HEADER_SIZE) : 0;
    if (!frames_are_sound(bytes, copy.frame_list, first_shown, layout))
        return false;
    uint32_t width = read_u32(anih + ANIH_WIDTH), height = read_u32(anih + ANIH_HEIGHT);
    if (width && height) {
        layout->header_size = true;
        layout->own_width = width;
        layout->own_height = height;
    }
    return true;
}

bool single_image_file_is_sound(const uint8_t* bytes, uint32_t size, CursorLayout* layout) {
    DirectoryFacts facts;
    if (!read_directory(bytes, size, &facts))
        return false;
    layout->size = size;
    layout->frames = 1;
    layout->several_sizes = facts.several_sizes;
    // The system builds an image asked for no size at the image's own.
    layout->own_width = facts.first.image_width;
    layout->own_height = facts.first.image_height;
    return true;
}

// Calls `visit` with each frame's directory and length, in order, until it
// returns false.
template <typename Byte, typename Visit>
void for_each_frame(Byte* bytes, const CursorLayout& layout, Visit visit) {
    uint32_t position = layout.first_frame;
    for (uint32_t i = 0; i < layout.frames; ++i) {
        uint32_t length = chunk_length(bytes, position);
        if (!visit(bytes + position + CHUNK_HEADER_SIZE, length))
            return;
        position += CHUNK_HEADER_SIZE + length;
    }
}

}  // namespace

bool judge_cursor_file(uint8_t* bytes, uint32_t size, CursorLayout* layout) {
    memset(layout, 0, sizeof *layout);
    bool sound = size >= 4 && read_u32(bytes) == ID_RIFF
                     ? animated_file_is_sound(bytes, size, layout)
                     : single_image_file_is_sound(bytes, size, layout);
    // At its smallest, with its smallest images, it must fit.
    return sound && cursor_cost(bytes, *layout, 1, 1, MAX_CURSOR_PIXELS).pixels <= MAX_CURSOR_PIXELS;
}

CursorCost cursor_cost(const uint8_t* bytes, const CursorLayout& layout, uint32_t width,
                       uint32_t height, uint32_t budget) {
    CursorCost cost = {0, 0};
    // Each term is at most twice MAX_IMAGE_SIDE squared, and counting stops
    // past the budget: no sum leaves 32 bits.
    auto add = [&](const ImageChoice& image) {
        uint32_t built_width = width ? width : image.width;
        uint32_t built_height = height ? height : image.height;
        if (!width && !height && !layout.animated) {
            built_width = image.image_width;
            built_height = image.image_height;
        }
        if (built_width > cost.largest_side)
            cost.largest_side = built_width;
        if (built_height > cost.largest_side)
            cost.largest_side = built_height;
        cost.pixels += image.image_width * image.image_height;
        cost.pixels += built_width > MAX_IMAGE_SIDE || built_height > MAX_IMAGE_SIDE
                           ? budget + 1
                           : built_width * built_height;
        if (cost.pixels > budget)
            cost.pixels = budget + 1;
        return cost.pixels <= budget;
    };
    if (!layout.animated) {
        add(choose_image(bytes, layout.size, width, height));
        return cost;
    }
    for_each_frame(bytes, layout, [&](const uint8_t* directory, uint32_t length) {
        return add(choose_image(directory, length, width, height));
    });
    return cost;
}

CursorResource prepare_cursor_resource(uint8_t* bytes, const CursorLayout& layout, uint32_t width,
                                       uint32_t height) {
    CursorResource resource = {0, 0};
    if (layout.animated) {
        if (width && height) {
            write_u32(bytes + layout.header + ANIH_WIDTH, width);
            write_u32(bytes + layout.header + ANIH_HEIGHT, height);
        }
        // Each frame's directory is left with the one entry chosen.
        for_each_frame(bytes, layout, [&](uint8_t* directory, uint32_t length) {
            ImageChoice image = choose_image(directory, length, width, height);
            memmove(directory + ICON_DIR_HEADER_SIZE, directory + image.entry, ICON_DIR_ENTRY_SIZE);
            write_u16(directory + ICON_DIR_COUNT, 1);
            return true;
        });
        resource.length = layout.size;
        return resource;
    }
    // A single image is handed over as a cursor resource: its hotspot, then
    // the image, from a 4-byte boundary.
    ImageChoice image = choose_image(bytes, layout.size, width, height);
    uint32_t hotspot = read_u32(bytes + image.entry + ENTRY_HOTSPOT);
    uint32_t offset = read_u32(bytes + image.entry + ENTRY_IMAGE_OFFSET);
    // A hotspot that reads "RIFF" would be taken for an animated cursor.
    if (hotspot == ID_RIFF)
        return resource;
    uint32_t room = layout.size - offset;
    resource.offset = (offset - 4) & ~3u;  // images start past the directory's header
    memmove(bytes + resource.offset + 4, bytes + offset, room);
    write_u32(bytes + resource.offset, hotspot);
    resource.length = 4 + room;
    return resource;
}
