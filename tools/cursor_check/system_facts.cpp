#include "tools/cursor_check/system_facts.h"

#include <windows.h>
#include <wincrypt.h>

#include <stdio.h>

#include "tools/cursor_check/console_text.h"

namespace {

const int STANDARD_DPI = 96;
const DWORD READ_CHUNK = 64 * 1024;
const DWORD SHA256_LENGTH = 32;

// Functions of newer systems, found at run time so that the program runs on
// older ones too.
template <typename Function>
Function system_function(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    return module ? reinterpret_cast<Function>(
                        reinterpret_cast<void*>(GetProcAddress(module, name)))
                  : NULL;
}

typedef LONG(WINAPI* GetVersionFn)(OSVERSIONINFOW* version);
typedef const char*(__cdecl* WineVersionFn)(void);
typedef HANDLE(WINAPI* GetContextFn)(void);
typedef HANDLE(WINAPI* SetContextFn)(HANDLE context);
typedef int(WINAPI* AwarenessFn)(HANDLE context);
typedef BOOL(WINAPI* IsAwareFn)(void);
typedef UINT(WINAPI* SystemDpiFn)(void);

// DPI_AWARENESS_CONTEXT_SYSTEM_AWARE, and the awareness values.
const HANDLE SYSTEM_AWARE_CONTEXT = reinterpret_cast<HANDLE>(-2);
const int AWARENESS_SYSTEM = 1;
const int AWARENESS_PER_MONITOR = 2;

int screen_dpi() {
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(NULL, screen);
    return dpi > 0 ? dpi : STANDARD_DPI;
}

}  // namespace

std::string system_version() {
    // The kernel's own answer: GetVersionEx answers as the program's
    // manifest lets it.
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionFn get_version = system_function<GetVersionFn>("ntdll.dll", "RtlGetVersion");
    char windows[64] = "Windows (version unknown)";
    if (get_version && get_version(&version) == 0)
        snprintf(windows, sizeof windows, "Windows %lu.%lu build %lu", version.dwMajorVersion,
                 version.dwMinorVersion, version.dwBuildNumber);
    WineVersionFn wine = system_function<WineVersionFn>("ntdll.dll", "wine_get_version");
    if (!wine)
        return windows;
    return std::string("Wine ") + wine() + " (as " + windows + ")";
}

std::string dpi_awareness() {
    GetContextFn get_context =
        system_function<GetContextFn>("user32.dll", "GetThreadDpiAwarenessContext");
    AwarenessFn awareness_of =
        system_function<AwarenessFn>("user32.dll", "GetAwarenessFromDpiAwarenessContext");
    int awareness = 0;
    if (get_context && awareness_of) {
        awareness = awareness_of(get_context());
    } else {
        IsAwareFn is_aware = system_function<IsAwareFn>("user32.dll", "IsProcessDPIAware");
        awareness = is_aware && is_aware() ? AWARENESS_SYSTEM : 0;
    }
    if (awareness == AWARENESS_PER_MONITOR)
        return "per-monitor DPI-aware";
    return awareness == AWARENESS_SYSTEM ? "system DPI-aware" : "not DPI-aware";
}

DisplayFacts display_facts() {
    DisplayFacts facts = {screen_dpi(), GetSystemMetrics(SM_CXCURSOR), 0};
    facts.aware_cursor_side = facts.own_cursor_side;
    // A program that is not DPI-aware sees 96 DPI whatever the display: ask
    // as a DPI-aware one for a moment, where the system can.
    SetContextFn set_context =
        system_function<SetContextFn>("user32.dll", "SetThreadDpiAwarenessContext");
    SystemDpiFn system_dpi = system_function<SystemDpiFn>("user32.dll", "GetDpiForSystem");
    HANDLE previous = set_context ? set_context(SYSTEM_AWARE_CONTEXT) : NULL;
    if (previous) {
        facts.system_dpi = system_dpi ? static_cast<int>(system_dpi()) : screen_dpi();
        facts.aware_cursor_side = GetSystemMetrics(SM_CXCURSOR);
        set_context(previous);
    }
    return facts;
}

std::string sha256_of_file(const std::string& path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    HCRYPTPROV provider = 0;
    HCRYPTHASH hash = 0;
    std::string digest;
    if (CryptAcquireContextA(&provider, NULL, NULL, PROV_RSA_AES, CRYPT_VERIFYCONTEXT) &&
        CryptCreateHash(provider, CALG_SHA_256, 0, 0, &hash)) {
        std::string chunk(READ_CHUNK, '\0');
        DWORD got = 0;
        bool read_all = true;
        while ((read_all = ReadFile(file, &chunk[0], READ_CHUNK, &got, NULL)) && got)
            CryptHashData(hash, reinterpret_cast<BYTE*>(&chunk[0]), got, 0);
        BYTE value[SHA256_LENGTH];
        DWORD length = sizeof value;
        if (read_all && CryptGetHashParam(hash, HP_HASHVAL, value, &length, 0)) {
            char hex[3];
            for (DWORD i = 0; i < length; ++i) {
                snprintf(hex, sizeof hex, "%02x", value[i]);
                digest += hex;
            }
        }
    }
    if (hash)
        CryptDestroyHash(hash);
    if (provider)
        CryptReleaseContext(provider, 0);
    CloseHandle(file);
    return digest;
}
