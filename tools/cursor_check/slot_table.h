// The table of the check tool: one row per cursor file, base and animated, of
// slots 0 to 21, as the module would load them.
#pragma once

struct TableCounts {
    int loading;      // present (or just restored) files that load
    int failing;      // present files, or folders in their place, that don't
    int missing;      // files not there whose default the game will write
    int absent;       // files not there that have none (the base cursor stands in)
    int unwritable;   // files not there whose default can't be written
};

// Which cursor folders can take the default files now.
struct FolderAccess {
    bool base;
    bool animated;
};

// Checks every slot file at `scale` (as load_cursor_set uses it), writes the
// missing defaults first when `restore_defaults` is set, prints the table and
// returns the counts.
TableCounts print_cursor_table(float scale, bool restore_defaults, FolderAccess access);
