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

// The headers of a loaded image lie in its first page, which the loader
// always maps: the NT headers are read only when they end inside it.
const LONG HEADER_PAGE = 0x1000;

bool open_image(HMODULE module, Image* image) {
    const BYTE* base = reinterpret_cast<const BYTE*>(module);
    if (!base)
        return false;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE || dos->e_lfanew <= 0 ||
        dos->e_lfanew > HEADER_PAGE - static_cast<LONG>(sizeof(IMAGE_NT_HEADERS)))
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

// An array of `count` elements of `size` bytes at `rva`, null unless all of
// it fits inside the image (the count is checked before it is multiplied).
const void* array_at(const Image& image, DWORD rva, DWORD count, DWORD size) {
    if (count > image.size / size)
        return NULL;
    return at(image, rva, count * size);
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

typedef LONG(NTAPI* LockLoaderFn)(ULONG flags, ULONG* disposition, ULONG_PTR* cookie);
typedef LONG(NTAPI* UnlockLoaderFn)(ULONG flags, ULONG_PTR cookie);
const ULONG LOADER_LOCK_TAKEN = 1;  // the disposition when the lock was taken

// The first module of the loader's list named `file_name`; the caller holds
// the loader's lock, so no other thread loads or unloads one meanwhile.
HMODULE find_in_module_list(const wchar_t* file_name) {
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

}  // namespace

HMODULE find_loaded_module(const wchar_t* file_name) {
    // The loader's own list, reached through the process environment block,
    // so that no wrapper's rewritten import or GetProcAddress answers; read
    // under the loader's lock, taken through ntdll's exports (ntdll is in
    // every process), as the loader itself changes the list.
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    LockLoaderFn lock = reinterpret_cast<LockLoaderFn>(find_export(ntdll, "LdrLockLoaderLock"));
    UnlockLoaderFn unlock =
        reinterpret_cast<UnlockLoaderFn>(find_export(ntdll, "LdrUnlockLoaderLock"));
    ULONG disposition = 0;
    ULONG_PTR cookie = 0;
    if (!lock || !unlock || lock(0, &disposition, &cookie) < 0 ||
        disposition != LOADER_LOCK_TAKEN)
        return NULL;
    HMODULE found = find_in_module_list(file_name);
    unlock(0, cookie);
    return found;
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
        static_cast<const DWORD*>(array_at(image, exports->AddressOfNames, count, sizeof(DWORD)));
    const WORD* ordinals = static_cast<const WORD*>(
        array_at(image, exports->AddressOfNameOrdinals, count, sizeof(WORD)));
    const DWORD* functions = static_cast<const DWORD*>(array_at(
        image, exports->AddressOfFunctions, exports->NumberOfFunctions, sizeof(DWORD)));
    if (!names || !ordinals || !functions)
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
            // The name follows a 16-bit hint; an entry past the image names
            // nothing (and its sum would wrap round).
            if (!IMAGE_SNAP_BY_ORDINAL32(*hint_name) && *hint_name < image.size &&
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

SizeFunctions size_functions;

namespace {

// SetThreadCursorCreationScaling's special values.
const UINT CURSOR_CREATION_SCALING_NONE = 1;
const UINT CURSOR_CREATION_SCALING_DEFAULT = 2;
const char POINTER_KEY[] = "Control Panel\\Cursors";
const char POINTER_VALUE[] = "CursorBaseSize";
const DWORD ONLY_DWORD = 0x00000010;  // RRF_RT_REG_DWORD
const char GAMESCOPE_DISPLAY[] = "GAMESCOPE_WAYLAND_DISPLAY";

void* user32_function(const char* name) {
    void* found = find_export(find_loaded_module(L"user32.dll"), name);
    if (!found) {
        HMODULE user32 = GetModuleHandleA("user32.dll");
        found = user32 ? reinterpret_cast<void*>(GetProcAddress(user32, name)) : NULL;
    }
    return found;
}

}  // namespace

void resolve_size_functions() {
    size_functions.set_cursor_creation_scaling = reinterpret_cast<CursorCreationScalingFn>(
        user32_function("SetThreadCursorCreationScaling"));
    size_functions.logical_to_physical = reinterpret_cast<LogicalToPhysicalFn>(
        user32_function("LogicalToPhysicalPointForPerMonitorDPI"));
    size_functions.client_to_screen =
        reinterpret_cast<ClientToScreenFn>(user32_function("ClientToScreen"));
    // Kept loaded for the life of the process: the pointer size is read
    // again whenever the player changes a setting.
    HMODULE advapi32 = LoadLibraryA("advapi32.dll");
    void* found = advapi32 ? reinterpret_cast<void*>(GetProcAddress(advapi32, "RegGetValueA")) : NULL;
    size_functions.reg_get_value = reinterpret_cast<RegGetValueFn>(found);
}

int read_pointer_size() {
    DWORD value = 0, size = sizeof value;
    if (!size_functions.reg_get_value ||
        size_functions.reg_get_value(HKEY_CURRENT_USER, POINTER_KEY, POINTER_VALUE, ONLY_DWORD,
                                     NULL, &value, &size) != ERROR_SUCCESS)
        return 0;
    // A stored value past any int reads as the largest.
    return value > 0x7fffffff ? 0x7fffffff : static_cast<int>(value);
}

bool cursors_show_as_built() { return size_functions.set_cursor_creation_scaling != NULL; }

UINT begin_exact_cursors() {
    if (!size_functions.set_cursor_creation_scaling)
        return CURSOR_CREATION_SCALING_DEFAULT;
    return size_functions.set_cursor_creation_scaling(CURSOR_CREATION_SCALING_NONE);
}

void end_exact_cursors(UINT previous) {
    if (size_functions.set_cursor_creation_scaling)
        size_functions.set_cursor_creation_scaling(previous);
}

bool physical_client_size(HWND window, const RECT& client, int* width, int* height) {
    if (!size_functions.logical_to_physical || !size_functions.client_to_screen)
        return false;
    POINT corners[2] = {{client.left, client.top}, {client.right, client.bottom}};
    for (POINT& corner : corners)
        if (!size_functions.client_to_screen(window, &corner) ||
            !size_functions.logical_to_physical(window, &corner))
            return false;
    *width = corners[1].x - corners[0].x;
    *height = corners[1].y - corners[0].y;
    return *width > 0 && *height > 0;
}

bool under_gamescope() {
    char value[2];
    return GetEnvironmentVariableA(GAMESCOPE_DISPLAY, value, sizeof value) > 0;
}
