// What the module builds of a parsed cursor file: the size shown, the image
// each frame is made from, and exactly the pixels and bytes the emitted
// cursor holds. Worked out from the table alone, in closed form. Pure byte
// work, so that it builds the same for the module and natively for fuzzing.
#pragma once

#include "cursors/cursor_parse.h"
#include "cursors/cursor_pixels.h"

// The largest side the module builds any cursor at: the largest pointer
// Windows draws.
const uint32_t MAX_CURSOR_SIDE = 256;
// The most pixels one cursor may hold, all its frames together: 64 frames
// at the largest side, or a thousand small ones.
const uint32_t MAX_CURSOR_PIXELS = 4u << 20;
// The most pixels its chosen images may decode to, all frames together: a
// 1,024 by 1,024 image twice over, or 1,024 frames of 45 by 45 (players'
// animations decode to a tenth of a megapixel at most), so that decoding and
// rendering the worst file takes some tens of milliseconds.
const uint32_t MAX_DECODED_PIXELS = 2u << 20;

// What the system holds for a cursor the module builds, as both Windows and
// Wine keep one: each frame a colour and an alpha bitmap of 32 bits a pixel
// and a 1-bit mask (its rows padded to 4 bytes), with the objects around
// them; each cursor its handle.
const uint32_t SYSTEM_BYTES_A_PIXEL = 8;
const uint32_t SYSTEM_BYTES_A_FRAME = 1024;
const uint32_t SYSTEM_BYTES_A_CURSOR = 1024;

// What one load of both tables may make: frames (a USER object each; Windows
// allows a process 10,000 by default), and bytes the system holds (budgeted
// by the loader, with the load's pixel memory). The largest file (1,024
// frames) fits; the old set stays alive beside the new one during a reload,
// 2,200 objects together, well inside the quota.
const uint32_t LOAD_FRAMES = 1100;
// Of that, the built-in defaults' share, kept apart so that a pack which
// spends the rest still shows its other slots' defaults: the 23 defaults (24
// frames).
const uint32_t DEFAULT_CURSORS = 23;
const uint32_t DEFAULT_FRAMES = 24;

// The bytes the system holds for a cursor of `frames` frames of `width` by
// `height`; UINT32_MAX when that is beyond 32 bits.
uint32_t system_bytes(uint32_t frames, uint32_t width, uint32_t height);

// The most pixels a cursor of `frames` frames may hold for the system to
// hold no more than `bytes` for it, whatever its shape (its mask rows'
// padding counted at the largest side); 0 when not even its objects fit.
uint32_t pixels_within(uint32_t bytes, uint32_t frames);

// The scale load_cursor_set really uses for `scale`: 0 and -0 stay (own
// size), a NaN and values of 1 and above pass, others become 1.
float effective_scale(float scale);

// One side of the requested size: own × scale truncated toward zero, or 0
// (the file's own size) when that is not a finite value fitting a positive int.
int requested_side(int own, float scale);

// The size a file whose own size is own_width by own_height is asked at:
// each side by requested_side, or 0 by 0 (its own size) when a side comes
// out 0.
void asked_size(int own_width, int own_height, float scale, int* width, int* height);

// What a load asks of one file.
struct PlanRequest {
    float scale;  // an effective scale; 0, infinite or NaN: the own size
    // The own size of a file whose images come in several sizes (the
    // system's standard cursor size at 96 DPI).
    uint32_t standard_width, standard_height;
    // What the load has left: pixels and frames the cursor may hold.
    uint32_t pixels, frames;
    EdgeStyle edges;  // how pixel art is enlarged
    // Not 0: asked at side by side whatever the file's own size or the
    // scale (a wrapper that redraws every cursor at one side).
    uint32_t side;
};

struct CursorPlan {
    uint32_t own_width, own_height;                 // several sizes: the standard size
    uint32_t asked_width, asked_height;             // own × scale
    uint32_t width, height;                         // the size shown, every frame
    bool reduced;                                   // smaller than asked: the side or pixel limits
    EdgeStyle edges;                                // the request's
    uint32_t frames, steps;                         // the table's
    uint16_t image_of_frame[MAX_FRAMES];            // the table's image each frame is made from
    uint16_t hot_x[MAX_FRAMES], hot_y[MAX_FRAMES];  // at the size shown
    uint32_t pixels;          // frames × width × height: what the load is charged
    uint32_t decoded_pixels;  // the chosen images' own pixels, all frames
    uint32_t bytes;           // of the emitted resource
    // The pixel memory making it takes: the resource, then the largest
    // frame's decoding and rendering (UINT32_MAX when beyond 32 bits).
    uint32_t arena_bytes;
};

// Plans `table` for `request`. The size shown is the own size times the
// scale, each side truncated; no side above MAX_CURSOR_SIDE (the shape
// kept); when its frames would hold more than the request's pixels (or
// MAX_CURSOR_PIXELS), the largest size that fits. Each frame's image is the
// closest in size to that, then the deepest, then the first; hotspots lie
// inside the image (an icon's at its centre), and each is the centre of its
// pixel scaled with the image, floored, so it lies inside the cursor shown.
// False when nothing fits: more frames than the
// request allows, no size that fits, or images that decode to more than
// MAX_DECODED_PIXELS.
bool plan_cursor(const CursorTable& table, const PlanRequest& request, CursorPlan* plan);


// Moves `frame` of `plan` to the image of that frame ranking next after its
// own in the order plan_cursor chooses by (its hotspot with it), for when its
// own does not decode; false when none is left.
bool fall_back_frame(const CursorTable& table, uint32_t frame, CursorPlan* plan);
