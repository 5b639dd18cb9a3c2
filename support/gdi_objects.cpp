#include "support/gdi_objects.h"

#include <windows.h>

long gdi_table_entries() {
    const DWORD PEB_GDI_TABLE = 0x94;  // in a 32-bit process's environment block
    const BYTE* peb;
    asm("movl %%fs:0x30, %0" : "=r"(peb));  // the thread block's pointer to it
    const BYTE* table = *reinterpret_cast<BYTE* const*>(peb + PEB_GDI_TABLE);
    const int ENTRIES = 0x10000, ENTRY_SIZE = 24, TYPE_OFFSET = 14;
    long count = 0;
    for (int i = 0; table && i < ENTRIES; ++i)
        count += table[i * ENTRY_SIZE + TYPE_OFFSET] != 0;
    return count;
}

long gdi_objects(const char** source) {
    const char* ignored;
    if (!source)
        source = &ignored;
    SetLastError(0);
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (count || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        *source = "GetGuiResources";
        return static_cast<long>(count);
    }
    long before = gdi_table_entries();
    HBITMAP bitmaps[50];
    for (HBITMAP& bitmap : bitmaps)
        bitmap = CreateBitmap(4, 4, 1, 1, NULL);
    long with = gdi_table_entries();
    for (HBITMAP bitmap : bitmaps)
        DeleteObject(bitmap);
    *source = with - before == 50 ? "the process's GDI handle table (Wine has no GetGuiResources)"
                                  : "unavailable";
    return before;
}

