// The module's footprint: its file against the cursor payload it carries,
// the allocation functions it imports (none may be), and the GDI and user
// objects of a host process before and after many rescales through it.
#include "bench/bench.h"

#include <stdio.h>
#include <string.h>

#include "host/runtime/host_code.h"
#include "host/runtime/host_state.h"
#include "host/runtime/host_window.h"
#include "host/runtime/plugin_loader.h"
#include "support/cursor_ledger.h"
#include "support/gdi_objects.h"
#include "support/scratch_folder.h"
#include "window/cursor_window.h"

namespace {

// The default cursor files carried as resources, byte for byte.
const DWORD CURSOR_PAYLOAD = 106532;
const DWORD OVERHEAD_TARGET = 13 * 1024;

// Imports that would mean a heap allocation of the module's own (its pixel
// memory is a region it reserves with VirtualAlloc, sized by a load's
// budget).
const char* const ALLOCATING[] = {
    "malloc", "calloc", "realloc", "free", "_Znwj", "_Znaj", "??2@YAPAXI@Z", "_strdup",
    "HeapAlloc", "HeapCreate", "HeapReAlloc", "LocalAlloc", "GlobalAlloc", NULL};

template <typename T>
const T* at_rva(HMODULE module, DWORD rva) {
    return reinterpret_cast<const T*>(reinterpret_cast<const BYTE*>(module) + rva);
}

// Every function the module imports by name, as "dll!name".
std::vector<std::string> imported_functions(HMODULE module) {
    std::vector<std::string> names;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(module);
    const IMAGE_NT_HEADERS* nt = at_rva<IMAGE_NT_HEADERS>(module, dos->e_lfanew);
    DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (const IMAGE_IMPORT_DESCRIPTOR* entry = at_rva<IMAGE_IMPORT_DESCRIPTOR>(module, rva);
         rva && entry->Name; ++entry) {
        const char* dll = at_rva<char>(module, entry->Name);
        for (const IMAGE_THUNK_DATA* thunk = at_rva<IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk);
             thunk->u1.AddressOfData; ++thunk)
            if (!IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal))
                names.push_back(std::string(dll) + "!" +
                                at_rva<IMAGE_IMPORT_BY_NAME>(module, thunk->u1.AddressOfData)->Name);
    }
    return names;
}

long user_objects(const char** source) {
    SetLastError(0);
    DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (count || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
        *source = "GetGuiResources";
        return static_cast<long>(count);
    }
    *source = "cursor handles alive, counted at the module's imports";
    return static_cast<long>(ledger::live().size());
}

bool parse_rescales(const std::string& output, long values[4]) {
    size_t at = output.find("RESCALES ");
    return at != std::string::npos &&
           sscanf(output.c_str() + at, "RESCALES gdi %ld %ld user %ld %ld", &values[0], &values[1],
                  &values[2], &values[3]) == 4;
}

std::string between(const std::string& output, const char* start) {
    size_t at = output.find(start);
    if (at == std::string::npos)
        return "?";
    at += strlen(start);
    return output.substr(at, output.find_first_of("\r\n", at) - at);
}

}  // namespace

int child_rescales(int rescales) {
    ScratchFolder scratch;
    install_host_code();
    set_host_screen_size(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    HWND window = create_host_window(HOST_SCREEN_WIDTH, HOST_SCREEN_HEIGHT);
    CopyFileA(module_path().c_str(), ".\\plugin\\Quillmere.yrp", FALSE);
    HMODULE module = LoadLibraryA(".\\plugin\\Quillmere.yrp");
    if (!window || !module || !ledger::install(module))
        return 1;
    int result;
    if (!call_yrp_init(module, &result))
        return 1;
    const SIZE clients[] = {{960, 720}, {1280, 960}, {1600, 900}, {800, 600}};
    auto rescale = [&](int i) {
        set_client_size(window, clients[i % 4].cx, clients[i % 4].cy);
        SendMessageA(window, WM_TIMER, RESCALE_TIMER_ID, 0);
    };
    rescale(3);  // the last size of the loop: before and after alike
    const char *gdi_source, *user_source;
    long gdi_before = gdi_objects(&gdi_source), user_before = user_objects(&user_source);
    long hidden_before = ledger::counts().null_set_cursor;
    double start = now_us();
    for (int i = 0; i < rescales; ++i)
        rescale(i);
    double elapsed = now_us() - start;
    long gdi_after = gdi_objects(&gdi_source), user_after = user_objects(&user_source);
    printf("RESCALES gdi %ld %ld user %ld %ld\nGDI: %s\nUSER: %s\nEACH: %.1f\nHIDDEN: %ld\n",
           gdi_before, gdi_after, user_before, user_after, gdi_source, user_source,
           elapsed / 1000.0 / rescales, ledger::counts().null_set_cursor - hidden_before);
    // With the window gone nothing calls into the module: unloaded, its copy
    // and the scratch folder can be removed.
    DestroyWindow(window);
    FreeLibrary(module);
    return 0;
}

void bench_footprint(const Settings& settings, Table* table) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    std::string path = module_path();
    if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        long overhead = static_cast<long>(data.nFileSizeLow) - static_cast<long>(CURSOR_PAYLOAD);
        table->push_back({"Quillmere.yrp beyond its cursor payload of 106,532 bytes (code, "
                          "headers, tables)",
                          format("%ld bytes = %.2f KiB (file %lu bytes)", overhead, overhead / 1024.0,
                                 data.nFileSizeLow),
                          format("<= %lu KiB", OVERHEAD_TARGET / 1024)});
    }
    HMODULE module = LoadLibraryExA(path.c_str(), NULL, DONT_RESOLVE_DLL_REFERENCES);
    if (module) {
        std::vector<std::string> imports = imported_functions(module);
        std::string found;
        for (const std::string& name : imports)
            for (const char* const* allocating = ALLOCATING; *allocating; ++allocating)
                if (name.substr(name.find('!') + 1) == *allocating)
                    found += (found.empty() ? "" : ", ") + name;
        table->push_back({"allocation functions among the module's imports",
                          format("%s (of %u imports)", found.empty() ? "none" : found.c_str(),
                                 static_cast<unsigned>(imports.size())),
                          "none"});
        FreeLibrary(module);
    }
    ScratchFolder scratch;
    std::string output = run_self_in(format("--child-rescales %d", settings.rescales), scratch.path());
    long values[4];
    if (parse_rescales(output, values)) {
        table->push_back({format("GDI objects before / after %d rescales through the real module "
                                 "(%s)",
                                 settings.rescales, between(output, "GDI: ").c_str()),
                          format("%ld / %ld", values[0], values[1]), "equal"});
        table->push_back({format("user objects before / after %d rescales (%s)", settings.rescales,
                                 between(output, "USER: ").c_str()),
                          format("%ld / %ld (a rescale: %s ms)", values[2], values[3],
                                 between(output, "EACH: ").c_str()),
                          "equal"});
        table->push_back({format("the pointer hidden during %d rescales (SetCursor(NULL) calls "
                                 "while the shown kind has a cursor)",
                                 settings.rescales),
                          between(output, "HIDDEN: "), "0"});
    } else {
        table->push_back({"rescales through the real module", "the child failed: " + output, ""});
    }
}
