#include "base/file_virtualisation.h"

#include <windows.h>

namespace {

// Not asked yet while VIRTUALISATION_ASK.
VirtualisationAnswer known_answer;

typedef BOOL(WINAPI* OpenProcessTokenFn)(HANDLE process, DWORD access, PHANDLE token);
typedef BOOL(WINAPI* GetTokenInformationFn)(HANDLE token, TOKEN_INFORMATION_CLASS kind,
                                            LPVOID buffer, DWORD size, PDWORD written);

// The token says whether its writes are virtualised. advapi32 is loaded
// here, at run time (and stays, as in nearly every process): the module
// imports only the four libraries a game always has. A system without the
// question (before Vista) has no virtualisation either.
bool token_says_virtualised() {
    HMODULE advapi = LoadLibraryA("advapi32.dll");
    if (!advapi)
        return false;
    OpenProcessTokenFn open_token = reinterpret_cast<OpenProcessTokenFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "OpenProcessToken")));
    GetTokenInformationFn query = reinterpret_cast<GetTokenInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(advapi, "GetTokenInformation")));
    DWORD enabled = 0;
    HANDLE token;
    if (open_token && query && open_token(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        DWORD written;
        if (!query(token, TokenVirtualizationEnabled, &enabled, sizeof enabled, &written))
            enabled = 0;
        CloseHandle(token);
    }
    return enabled != 0;
}

}  // namespace

bool file_writes_virtualised() {
    if (known_answer == VIRTUALISATION_ASK)
        known_answer = token_says_virtualised() ? VIRTUALISATION_ON : VIRTUALISATION_OFF;
    return known_answer == VIRTUALISATION_ON;
}

void answer_file_writes_virtualised(VirtualisationAnswer answer) { known_answer = answer; }
