// How the host is set up around the plug-in: the screen it draws at and
// where it loads the plug-in from. The plug-in itself uses neither (it reads
// the screen size from host memory, and the host loads it); the stand-in
// host, the tests, the benchmark and the check tool take them from here.
#pragma once

// The screen the game draws at, which the host reports (the stand-in host's
// window starts at this client size, and the check tool takes it as the
// host's).
const int HOST_SCREEN_WIDTH = 640;
const int HOST_SCREEN_HEIGHT = 480;

// Where the host loads the plug-in from, relative to the game folder.
const char PLUGIN_MODULE_PATH[] = ".\\plugin\\Quillmere.yrp";
