// The table of the check tool: the cursor files of slots 0 to 21, base and
// animated, as the module would load them. Rows for the files that are not
// the defaults; the defaults and the empty animated slots folded into a line
// each.
#pragma once

struct TableCounts {
    int loading;     // present (or just restored) files that load
    int failing;     // present files, or folders in their place, that don't
    int missing;     // files not there whose default the game will write
    int absent;      // files not there that have none (the base cursor stands in)
    int unwritable;  // files not there whose default can't be written
};

// Which cursor folders can take the default files now.
struct FolderAccess {
    bool base;
    bool animated;
};

// The sizes the table shows: at the scale of the window size given, and in
// automatic mode also at the scale of the window maximised on this screen.
struct TableScales {
    float scale;
    int side;  // not 0: every cursor at side by side (the size rule's)
    bool automatic;
    float maximised;
    int maximised_side;
    int client_width, client_height;
};

// Checks every slot file, writes the missing defaults first when
// `restore_defaults` is set, prints the table, notes a problem for each file
// that fails, and returns the counts.
TableCounts print_cursor_table(const TableScales& scales, bool restore_defaults,
                               FolderAccess access);
