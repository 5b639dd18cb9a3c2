// Counting the GDI objects of this process, where Wine has no
// GetGuiResources.
#pragma once

// GDI objects of this process: GetGuiResources where the system has it;
// under Wine, which lacks it, the entries of the process's GDI handle table,
// trusted only when 50 new bitmaps show as 50 more entries. `source` (may
// be null) receives how it was counted.
long gdi_objects(const char** source);

// The entries of the process's GDI handle table (32-bit Wine's layout),
// without the trial: cheap enough to take around every load.
long gdi_table_entries();
