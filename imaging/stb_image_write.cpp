// stb's PNG writer, compiled once for every program of the cross build that
// writes pictures (the stand-in host, the tests, the check tool's sheet).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
