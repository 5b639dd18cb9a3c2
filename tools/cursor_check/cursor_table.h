// The table of the check tool: one row per cursor file, base and animated, of
// slots 0 to 21, as the module would load them.
#pragma once

struct TableCounts {
    int loading;   // present (or just restored) files that load
    int failing;   // present files, or folders in their place, that don't
    int missing;   // files not there that have a default
    int absent;    // files not there that have none (the base cursor stands in)
};

// Checks every slot file at `scale` (as load_cursor_set uses it), writes the
// missing defaults first when `restore_defaults` is set, prints the table and
// returns the counts.
TableCounts print_cursor_table(float scale, bool restore_defaults);
