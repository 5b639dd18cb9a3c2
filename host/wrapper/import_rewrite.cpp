// Rewriting the import tables of the game's modules, as the wrapper does
// when it loads, when a module loads and at the first SetCooperativeLevel.
#include <winternl.h>

#include <string.h>

#include "host/wrapper/wrapper.h"

namespace {

template <typename T>
T* at_rva(BYTE* base, DWORD rva) {
    return reinterpret_cast<T*>(base + rva);
}

// The folder of a module's file, with its final backslash.
void module_folder(HMODULE module, char* folder, DWORD size) {
    folder[0] = 0;
    DWORD length = GetModuleFileNameA(module, folder, size);
    while (length > 0 && folder[length - 1] != '\\')
        --length;
    folder[length] = 0;
}

bool is_system_dll(const char* name) {
    return _stricmp(name, "user32.dll") == 0 || _stricmp(name, "kernel32.dll") == 0;
}

const PEB* process_environment_block() {
    const PEB* peb;
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
    return peb;
}

void rewrite_module(HMODULE module) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    IMAGE_DOS_HEADER* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    IMAGE_NT_HEADERS* nt = at_rva<IMAGE_NT_HEADERS>(base, dos->e_lfanew);
    IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress)
        return;
    for (IMAGE_IMPORT_DESCRIPTOR* entry = at_rva<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress);
         entry->Name; ++entry) {
        if (!is_system_dll(at_rva<char>(base, entry->Name)) || !entry->OriginalFirstThunk)
            continue;
        IMAGE_THUNK_DATA* names = at_rva<IMAGE_THUNK_DATA>(base, entry->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = at_rva<IMAGE_THUNK_DATA>(base, entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            IMAGE_IMPORT_BY_NAME* by_name = at_rva<IMAGE_IMPORT_BY_NAME>(base, names->u1.AddressOfData);
            void* fake = fake_for(reinterpret_cast<char*>(by_name->Name));
            if (!fake)
                continue;
            DWORD old_protection;
            VirtualProtect(&slots->u1.Function, sizeof(DWORD), PAGE_READWRITE, &old_protection);
            slots->u1.Function = reinterpret_cast<DWORD>(fake);
            VirtualProtect(&slots->u1.Function, sizeof(DWORD), old_protection, &old_protection);
        }
    }
}

}  // namespace

void rewrite_game_imports() {
    HMODULE game = GetModuleHandleA(NULL);
    if (wrapper.settings.hook == HOOK_GAME_PROGRAM) {
        rewrite_module(game);
        return;
    }
    char game_folder[MAX_PATH];
    module_folder(game, game_folder, sizeof game_folder);
    size_t game_length = strlen(game_folder);
    // Every loaded module whose file lies under the game's folder.
    const PEB* peb = process_environment_block();
    const LIST_ENTRY* head = &peb->Ldr->InMemoryOrderModuleList;
    for (const LIST_ENTRY* link = head->Flink; link != head; link = link->Flink) {
        const LDR_DATA_TABLE_ENTRY* loaded =
            CONTAINING_RECORD(link, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
        HMODULE module = static_cast<HMODULE>(loaded->DllBase);
        if (module == wrapper.self)
            continue;
        char folder[MAX_PATH];
        module_folder(module, folder, sizeof folder);
        if (game_length && _strnicmp(folder, game_folder, game_length) == 0)
            rewrite_module(module);
    }
}
