#include "support/import_hooks.h"

#include <string.h>

namespace {

template <typename T>
T* at_rva(HMODULE module, DWORD rva) {
    return reinterpret_cast<T*>(reinterpret_cast<BYTE*>(module) + rva);
}

}  // namespace

void* replace_import(HMODULE module, const char* dll, const char* function, void* replacement) {
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(module);
    IMAGE_NT_HEADERS* nt = at_rva<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!directory.VirtualAddress)
        return NULL;
    for (IMAGE_IMPORT_DESCRIPTOR* entry = at_rva<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress);
         entry->Name; ++entry) {
        if (_stricmp(at_rva<char>(module, entry->Name), dll) != 0)
            continue;
        IMAGE_THUNK_DATA* names = at_rva<IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = at_rva<IMAGE_THUNK_DATA>(module, entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME* by_name = at_rva<IMAGE_IMPORT_BY_NAME>(module, names->u1.AddressOfData);
            if (strcmp(reinterpret_cast<char*>(by_name->Name), function) != 0)
                continue;
            DWORD old_protection;
            VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old_protection);
            void* original = reinterpret_cast<void*>(slots->u1.Function);
            slots->u1.Function = reinterpret_cast<DWORD>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof(void*), old_protection, &old_protection);
            return original;
        }
    }
    return NULL;
}
