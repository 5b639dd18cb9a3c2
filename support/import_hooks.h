// Redirects one imported function of a loaded module to a replacement by
// rewriting the module's import address table, so a test can count what the
// module itself calls while the real function still does the work.
#pragma once

#include <windows.h>

// Returns the original function, or null when the module imports no such
// function from `dll` (compared without regard to case).
void* replace_import(HMODULE module, const char* dll, const char* function, void* replacement);
