// Files in the cursor folders that the game never reads: misnamed cursors
// (Explorer hides the last ending of a name, so "cursor1.ani" saved from a
// .cur file is really cursor1.ani.cur) and anything else put there.
#pragma once

// Lists every such file and folder of the two cursor folders, with the name
// it should have where one is clear; returns how many there are.
int print_stray_files();
