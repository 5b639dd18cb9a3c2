// The lines of the check tool's report about the module file and the cursor
// folders.
#pragma once

// The game's plug-in folder, relative to the game folder.
const char PLUGIN_FOLDER[] = ".\\plugin";

// Prints whether .\plugin\Quillmere.yrp is there and the version it carries.
void print_module_report();

// Prints whether a cursor folder is there, or what stands in its place.
void print_folder_report(const char* folder);
