#include "support/players_files.h"

#include <windows.h>

#include <ctype.h>

#include "support/cursor_builders.h"

namespace {

const size_t ENTRY_IMAGE_SIZE = 6 + 8;  // in a one-image file's directory
const size_t FIRST_BITMAP = 6 + 16;

std::string frame_32() { return cursor_file(32, 32); }

std::string ani_of(int frames, uint32_t steps = 0, uint32_t flags = 1) {
    AniLayout layout;
    layout.frames.assign(static_cast<size_t>(frames), frame_32());
    layout.declared_steps = steps;
    layout.flags = flags;
    return ani_file(layout);
}

// Adds a chunk after the last one and counts it into the RIFF length.
std::string with_trailing(std::string file, const std::string& chunk) {
    file += chunk;
    set32(file, 4, static_cast<uint32_t>(file.size() - 8));
    return file;
}

size_t frame_list_at(const std::string& file) { return file.find("fram") - 8; }

// Images of 32, 48, 64 and 128 pixels whose hotspots tell them apart, even
// when stretched: the largest first, as ports of other themes list them.
std::vector<IconImage> sizes_largest_first() {
    return {{128, 128, dib_image(128, 128, 32), 30, 30},
            {32, 32, dib_image(32, 32, 32), 3, 3},
            {48, 48, dib_image(48, 48, 32), 5, 5},
            {64, 64, dib_image(64, 64, 32), 9, 9}};
}

std::string odd_png_frame() {
    std::string frame = icon_file(2, {{32, 32, png_image(32, 32), 3, 3}});
    if (!(frame.size() & 1))
        frame += '\0';  // trailing bytes after the image are allowed
    return frame;
}

std::string core_image(unsigned width, unsigned height, unsigned bits, const std::string& palette,
                       size_t pixel_bytes) {
    std::string image;
    append32(image, 12);
    append16(image, width);
    append16(image, height);
    append16(image, 1);
    append16(image, bits);
    return image + palette + std::string(pixel_bytes, '\0');
}

}  // namespace

std::vector<PlayersFile> players_files() {
    std::vector<PlayersFile> files;
    {
        AniLayout layout;
        layout.frames = {odd_png_frame(), odd_png_frame()};
        layout.pad_odd_frames = true;
        files.push_back({"odd frame chunks with their pad bytes", ani_file(layout), true, 2, 32, -1, -1});
    }
    {
        std::string file = ani_of(2);
        set32(file, 4, static_cast<uint32_t>(file.size()));
        files.push_back({"RIFF length counting its own header", file, true, 2, 32, -1, -1});
    }
    {
        std::string file = cursor_file(32, 32);
        set32(file, ENTRY_IMAGE_SIZE, 8);
        files.push_back({"entry giving its image fewer bytes than its header", file, true, 1, 32, -1, -1});
    }
    {
        std::string file = ani_of(4);
        size_t list = frame_list_at(file);
        set32(file, list + 4, get32(file, list + 4) - 32);
        files.push_back({"frame list 32 bytes short of its frames", file, true, 4, 32, -1, -1});
    }
    files.push_back({"several sizes, the largest first", icon_file(2, sizes_largest_first()), true,
                     1, 32, 3, 9});
    {
        AniLayout layout;
        std::vector<IconImage> images = sizes_largest_first();
        std::string frame = icon_file(2, {images[3], images[1]});
        layout.frames = {frame, frame};
        files.push_back({"animated, each frame in several sizes", ani_file(layout), true, 2, 32, 3, 9});
    }
    {
        std::string rates;
        append32(rates, 10);
        append32(rates, 10);
        files.push_back({"sequence flag without its chunk, rates at the file's end",
                         with_trailing(ani_of(3, 2, 3), riff_chunk("rate", rates)), true, 2, 32, -1, -1});
    }
    files.push_back({"fewer steps than frames", ani_of(4, 2), true, 2, 32, -1, -1});
    {
        std::string file = ani_of(1) + "ra";
        set32(file, 4, static_cast<uint32_t>(file.size() - 8 + 6));
        files.push_back({"a chunk header cut by the file's end", file, true, 1, 32, -1, -1});
    }

    {
        std::string file;
        append16(file, 0);
        append16(file, 2);
        append16(file, 1);
        file += std::string("\x20\x20\0\0\0\0\0\0", 8);
        append32(file, 4);
        append32(file, 69632 - 4);
        file.resize(69632, '\0');
        files.push_back({"an image 4 bytes before the end of a 68 KiB file", file, false, 0, 0, -1, -1});
    }
    {
        std::string file = cursor_file(32, 32);
        set32(file, FIRST_BITMAP + 8, 0x80000000u);
        files.push_back({"a bitmap height of -2^31", file, false, 0, 0, -1, -1});
    }
    files.push_back({"a core header whose palette reads as 32 bits",
                     icon_file(2, {{1, 1, core_image(1, 2, 1, std::string("\0\0\x20\0\0\0", 6), 8), 0, 0}}),
                     true, 1, 1, -1, -1});
    files.push_back({"a core header of 1024 by 65535 at 0 bits",
                     icon_file(2, {{0, 0, core_image(1024, 65535, 0, std::string(3, '\0'), 0), 0, 0}}),
                     false, 0, 0, -1, -1});
    {
        AniLayout layout;
        layout.frames.assign(3, frame_32());
        layout.sequence = {0, 2, 0};
        layout.flags = 3;
        // Frame 1 is never shown: the module makes only the frames shown.
        files.push_back({"a sequence that never shows a frame", ani_file(layout), true, 3, 32, -1, -1});
    }
    return files;
}

std::string test_name(const PlayersFile& file) {
    std::string name;
    for (const char* c = file.name; *c; ++c)
        if (isalnum(static_cast<unsigned char>(*c)))
            name += *c;
    return name;
}

int cursor_steps(void* cursor) {
    typedef HCURSOR(WINAPI * FrameInfoFn)(HCURSOR, DWORD, DWORD, DWORD*, DWORD*);
    FrameInfoFn frame_info = reinterpret_cast<FrameInfoFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "GetCursorFrameInfo")));
    DWORD rate = 0, steps = 0;
    if (!frame_info || !frame_info(static_cast<HCURSOR>(cursor), 0, 0, &rate, &steps))
        return 0;
    return static_cast<int>(steps);
}
