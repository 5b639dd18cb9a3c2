#include "base/system_functions.h"

#include <winternl.h>

#include "base/module_state.h"

namespace {

// The parts of a loaded image this file reads, found from its headers. A
// loaded system module is trusted not to lie, but every offset is still
// kept inside the image the headers give.
struct Image {
    const BYTE* base;
    DWORD size;
};

bool open_image(HMODULE module, Image* image) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    if (!base)
        return false;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0)
        return false;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE)
        return false;
    image->base = base;
    image->size = nt->OptionalHeader.SizeOfImage;
    return true;
}

const IMAGE_DATA_DIRECTORY* directory(const Image& image, int entry) {
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image.base);
    const IMAGE_NT_HEADERS* nt =
        reinterpret_cast<const IMAGE_NT_HEADERS*>(image.base + dos->e_lfanew);
    if (nt->OptionalHeader.NumberOfRvaAndSizes <= static_cast<DWORD>(entry))
        return NULL;
    return &nt->OptionalHeader.DataDirectory[entry];
}

// The image's bytes at `rva`, null unless `length` bytes fit inside it.
const void* at(const Image& image, DWORD rva, DWORD length) {
    if (rva > image.size || length > image.size - rva)
        return NULL;
    return image.base + rva;
}

// A name at `rva` equal to `name`, without reading past the image.
bool name_at(const Image& image, DWORD rva, const char* name) {
    for (DWORD i = 0;; ++i) {
        const char* c = static_cast<const char*>(at(image, rva + i, 1));
        if (!c || *c != name[i])
            return false;
        if (!*c)
            return true;
    }
}

// The process environment block, from the thread's own block (FS:0x30 on
// 32-bit Windows).
const PEB* process_environment_block() {
    const PEB* peb;
    __asm__("movl %%fs:0x30, %0" : "=r"(peb));
    return peb;
}

wchar_t lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? c + (L'a' - L'A') : c; }

// True when `path` ends in `\file_name` or is `file_name`, case ignored.
bool path_names_file(const UNICODE_STRING& path, const wchar_t* file_name) {
    int name_length = 0;
    while (file_name[name_length])
        ++name_length;
    int path_length = path.Length / sizeof(wchar_t);
    if (!path.Buffer || path_length < name_length)
        return false;
    const wchar_t* tail = path.Buffer + path_length - name_length;
    if (path_length > name_length && tail[-1] != L'\\' && tail[-1] != L'/')
        return false;
    for (int i = 0; i < name_length; ++i)
        if (lower(tail[i]) != lower(file_name[i]))
            return false;
    return true;
}

}  // namespace

HMODULE find_loaded_module(const wchar_t* file_name) {
    // The loader's own list, reached through the process environment block:
    // no imported function is involved.
    const PEB* peb = process_environment_block();
    const LIST_ENTRY* head = &peb->Ldr->InMemoryOrderModuleList;
    for (const LIST_ENTRY* link = head->Flink; link != head; link = link->Flink) {
        const LDR_DATA_TABLE_ENTRY* entry =
            CONTAINING_RECORD(link, LDR_DATA_TABLE_ENTRY, InMemoryOrderLinks);
        if (path_names_file(entry->FullDllName, file_name))
            return static_cast<HMODULE>(entry->DllBase);
    }
    return NULL;
}

void* find_export(HMODULE module, const char* name) {
    Image image;
    if (!open_image(module, &image))
        return NULL;
    const IMAGE_DATA_DIRECTORY* entry = directory(image, IMAGE_DIRECTORY_ENTRY_EXPORT);
    if (!entry)
        return NULL;
    const IMAGE_EXPORT_DIRECTORY* exports = static_cast<const IMAGE_EXPORT_DIRECTORY*>(
        at(image, entry->VirtualAddress, sizeof(IMAGE_EXPORT_DIRECTORY)));
    if (!exports)
        return NULL;
    DWORD count = exports->NumberOfNames;
    const DWORD* names =
        static_cast<const DWORD*>(at(image, exports->AddressOfNames, count * sizeof(DWORD)));
    const WORD* ordinals = static_cast<const WORD*>(
        at(image, exports->AddressOfNameOrdinals, count * sizeof(WORD)));
    const DWORD* functions = static_cast<const DWORD*>(
        at(image, exports->AddressOfFunctions, exports->NumberOfFunctions * sizeof(DWORD)));
    if (count > image.size || !names || !ordinals || !functions)
        return NULL;
    for (DWORD i = 0; i < count; ++i) {
        if (!name_at(image, names[i], name))
            continue;
        if (ordinals[i] >= exports->NumberOfFunctions)
            return NULL;
        DWORD rva = functions[ordinals[i]];
        // An address inside the export directory is the name of another
        // module's function, not code.
        if (rva - entry->VirtualAddress < entry->Size || !at(image, rva, 1))
            return NULL;
        return const_cast<BYTE*>(image.base) + rva;
    }
    return NULL;
}

void* find_import(HMODULE module, const char* dll, const char* name) {
    Image image;
    if (!open_image(module, &image))
        return NULL;
    const IMAGE_DATA_DIRECTORY* entry = directory(image, IMAGE_DIRECTORY_ENTRY_IMPORT);
    if (!entry || !entry->VirtualAddress)
        return NULL;
    for (DWORD rva = entry->VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        const IMAGE_IMPORT_DESCRIPTOR* imported = static_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
            at(image, rva, sizeof(IMAGE_IMPORT_DESCRIPTOR)));
        if (!imported || !imported->Name)
            return NULL;
        // Without the list of names (some old linkers leave it out) the
        // slots can't be told apart.
        const char* dll_name = static_cast<const char*>(at(image, imported->Name, 1));
        if (!imported->OriginalFirstThunk || !dll_name || lstrcmpiA(dll_name, dll) != 0)
            continue;
        for (DWORD i = 0;; ++i) {
            const DWORD* hint_name = static_cast<const DWORD*>(
                at(image, imported->OriginalFirstThunk + i * sizeof(DWORD), sizeof(DWORD)));
            void* const* slot = static_cast<void* const*>(
                at(image, imported->FirstThunk + i * sizeof(DWORD), sizeof(DWORD)));
            if (!hint_name || !slot || !*hint_name)
                break;
            if (!IMAGE_SNAP_BY_ORDINAL32(*hint_name) &&
                name_at(image, *hint_name + sizeof(WORD), name))
                return *slot;
        }
    }
}

void resolve_client_rect() {
    void* found = find_export(find_loaded_module(L"user32.dll"), "GetClientRect");
    if (!found) {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        found = user32 ? reinterpret_cast<void*>(GetProcAddress(user32, "GetClientRect")) : NULL;
    }
    // Never store a null pointer: keep the imported function instead.
    if (found)
        client_rect_fn = reinterpret_cast<ClientRectFn>(found);
}
