// Builders for the valid cursor files the malformed ones are made from:
// icon-format files (.cur or .ico) holding bitmap or PNG images, and animated
// cursors with any header, frames, sequence and rates.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

// Little-endian and RIFF pieces.
void append16(std::string& out, unsigned value);
void append32(std::string& out, uint32_t value);
uint32_t get32(const std::string& bytes, size_t offset);
void set32(std::string& bytes, size_t offset, uint32_t value);
void set16(std::string& bytes, size_t offset, unsigned value);
// A chunk: id, length, data and a pad byte after odd data.
std::string riff_chunk(const char* id, const std::string& data);
// A chunk of 32-bit values ("seq ", "rate").
std::string riff_u32_chunk(const char* id, const std::vector<uint32_t>& values);
// A list chunk: "LIST", length, type, then the chunks.
std::string riff_list(const char* type, const std::string& chunks);

// A bitmap image as icon files hold it: header, colour table, colour rows
// and mask rows; bits per pixel 1, 4, 8, 16, 24 or 32.
std::string dib_image(int width, int height, int bits_per_pixel);
// The same with the 12-byte core header and a colour table of 3-byte
// entries; bits per pixel 1, 4, 8 or 24.
std::string core_dib_image(int width, int height, int bits_per_pixel);
// A PNG image of width by height opaque pixels.
std::string png_image(int width, int height);

struct IconImage {
    int width;
    int height;
    std::string data;  // dib_image or png_image
    int hotspot_x;
    int hotspot_y;
};
// An icon-format file: type 2 (cursor, hotspots in the entries) or 1 (icon).
std::string icon_file(int type, const std::vector<IconImage>& images);
// A cursor file of one 32-bit image.
std::string cursor_file(int width, int height, int bits_per_pixel = 32);

struct AniLayout {
    std::vector<std::string> frames;  // icon-format files
    uint32_t declared_frames = 0;     // 0: the number of frames
    uint32_t declared_steps = 0;      // 0: the sequence's length, else frames
    uint32_t width = 0, height = 0;   // the header's size fields
    uint32_t flags = 1;               // 1: frames are icon files; 2: sequence
    uint32_t display_rate = 10;
    std::vector<uint32_t> sequence;   // a "seq " chunk when not empty
    std::vector<uint32_t> rates;      // a "rate" chunk when not empty
    bool info_list = false;           // a LIST INFO chunk before the header
    // Frames of odd length keep it, with the pad byte the RIFF form puts
    // after them; otherwise each frame is evened out with a byte of its own.
    bool pad_odd_frames = false;
};
std::string ani_file(const AniLayout& layout);

// Shorthands: a .cur file of one width by height image at a hotspot, and an
// animated cursor of `frames` 32-bit frames (the size in its header, or 0).
std::string make_cur(int width, int height, int hotspot_x, int hotspot_y, int bits_per_pixel = 32);
std::string make_ani(int width, int height, int frames = 1, bool size_in_header = true);
