// What a problem report says about the machine: the system and its version,
// the display's DPI and the cursor sizes the system gives, and files'
// SHA-256 digests.
#pragma once

#include <string>

// "Windows 10.0 build 19045", or under Wine "Wine 8.0 (as Windows 10.0
// build 19043)".
std::string system_version();

// How this program is DPI-aware: "not DPI-aware", "system DPI-aware" or
// "per-monitor DPI-aware". A game is not, unless a compatibility setting or
// a display wrapper makes it so.
std::string dpi_awareness();

struct DisplayFacts {
    int system_dpi;         // 96 at 100 %
    int own_cursor_side;    // SM_CXCURSOR in this program
    int aware_cursor_side;  // SM_CXCURSOR in a DPI-aware program
};
DisplayFacts display_facts();

// The file at `path` (UTF-8) as 64 hex digits of its SHA-256; empty when it
// can't be read.
std::string sha256_of_file(const std::string& path);
