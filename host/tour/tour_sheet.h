// The tour's contact sheet: one tile per step, each a crop of the step's
// picture around the pointer with the step's line under it, framed green
// when the step saw what it expected and red when it did not.
#pragma once

#include <string>
#include <vector>

#include "host/runtime/screenshot.h"

struct SheetTile {
    RgbaImage crop;
    std::string caption;
    bool passed;
};

// Cuts a piece of width by height out of a picture from (left, top); parts
// outside the picture are black.
RgbaImage crop_picture(const RgbaImage& picture, int left, int top, int width, int height);

// Lays the tiles out in rows under a title line and writes the sheet as PNG.
bool write_contact_sheet(const std::vector<SheetTile>& tiles, const std::string& title,
                         const char* path);
