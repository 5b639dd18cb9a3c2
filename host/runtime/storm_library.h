// The host's library storm.dll, which the real host has loaded by the time it
// calls the plug-in. The stand-in host loads the project's stand-in.
#pragma once

#include <windows.h>

// Loads storm.dll from the folder of the running program; null if it isn't there.
HMODULE load_storm_beside_program();
