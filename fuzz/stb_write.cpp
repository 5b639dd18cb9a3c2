// stb's PNG writer for the seed generator (the test builders draw PNG images).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include "stb_image_write.h"
