// Cursor files the game never reads: misnamed ones (Explorer hides the last
// ending of a name, so "cursor1.ani" saved from a .cur file is really
// cursor1.ani.cur; a second download is "cursor9 (1).ani"), names that
// differ from a read one only in case (Linux tells them apart), and cursors
// in the wrong folder (plugin, the game folder's Cursors, a pack's own
// folder inside plugin\Cursors).
#pragma once

#include <string>

// Lists every such file and folder with where it should go or the name it
// should have; cursor files among them are problems, anything else a note.
// Returns how many entries it listed.
int print_stray_files();

// The cursor number a file name says ("Cursor 9 (1).ani.cur" says 9), or -1
// when it says none; 22 and more for numbers past the last cursor.
int slot_of_name(const std::string& name);
