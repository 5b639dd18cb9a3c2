// Accounts for every cursor handle a module makes and destroys, and for the
// bitmaps its measurements take, by redirecting the module's imports to
// counting wrappers (the real functions still do the work). Safe to call
// from several threads at once.
#pragma once

#include <windows.h>

#include <set>

struct LedgerCounts {
    long created;               // handles from CreateIconFromResourceEx
    long destroyed;             // DestroyCursor calls
    long double_destroys;       // DestroyCursor of a handle not alive
    long destroyed_while_held;  // DestroyCursor of a handle a table still held
    long stale_set_cursor;      // SetCursor of a handle not alive
    long set_cursor_calls;
    long null_set_cursor;       // SetCursor(NULL): the pointer hidden
    long longest_set_cursor_ms; // the longest a SetCursor call took
    long icon_info_bitmaps;     // bitmaps GetIconInfo handed out
    long bitmaps_deleted;       // of those, deleted again
};

namespace ledger {

// Redirects the module's CreateIconFromResourceEx, DestroyCursor,
// SetCursor, GetIconInfo and DeleteObject imports; false when one is missing.
bool install(HMODULE module);

// Tells the ledger how to ask whether a table holds a handle (for the
// destroyed-while-held count); null to not ask.
void set_holder_check(bool (*holds)(HCURSOR));

bool is_live(HCURSOR cursor);
std::set<HCURSOR> live();
LedgerCounts counts();
// Bitmaps from GetIconInfo not deleted yet.
long open_icon_bitmaps();
// The last handle the calling thread passed to SetCursor through the module.
HCURSOR last_set_cursor();

}  // namespace ledger
