// GetIconInfo hands out a cursor's hotspot with two bitmaps that belong to
// the caller: every reader of a cursor's details gives them back here.
#pragma once

#include <windows.h>

// Deletes the colour and mask bitmaps GetIconInfo filled `info` with; either
// may be null (a monochrome cursor has no colour bitmap).
void delete_icon_bitmaps(const ICONINFO& info);
