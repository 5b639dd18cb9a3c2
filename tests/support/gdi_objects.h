// Counting the GDI objects of this process, to catch loads that leak them.
#pragma once

// GetGuiResources where the system has it; under Wine, which lacks it, the
// entries of the process's GDI handle table, trusted only when 50 new
// bitmaps show as 50 more entries. `source` (may be null) names which, or
// "unavailable".
long gdi_objects(const char** source);
