#include "settings/scale_policy.h"

#include <windows.h>

#include <math.h>
#include <stdio.h>
#include <stdlib.h>

namespace {

const int VALUE_BUFFER_SIZE = 16;

// Rounds to single precision through memory: the x87 unit would otherwise
// keep extra precision in its registers.
float to_single(double value) {
    volatile float rounded = static_cast<float>(value);
    return rounded;
}

float factor(int client, int screen) {
    if (screen == 0)
        return INFINITY;
    return to_single(static_cast<double>(client) / static_cast<double>(screen));
}

}  // namespace

float read_ini_float(const char* section, const char* key, float default_value, const char* file) {
    char default_text[VALUE_BUFFER_SIZE];
    _snprintf(default_text, sizeof default_text, "%.1f", static_cast<double>(default_value));
    default_text[VALUE_BUFFER_SIZE - 1] = '\0';
    char value[VALUE_BUFFER_SIZE];
    GetPrivateProfileStringA(section, key, default_text, value, sizeof value, file);
    return to_single(atof(value));
}

float read_size_setting() {
    return read_ini_float(SETTINGS_SECTION, SETTINGS_SIZE_KEY, 0.0f, SETTINGS_FILE);
}

ScaleMode scale_mode(float setting) {
    // -0.0 compares equal to 0; a NaN compares equal to nothing.
    if (setting == 0.0f)
        return SCALE_AUTOMATIC;
    return setting > 1.0f ? SCALE_FIXED : SCALE_NATIVE;
}

float scale_for_client(int width, int height, int screen_width, int screen_height) {
    float horizontal = factor(width, screen_width);
    float vertical = factor(height, screen_height);
    return horizontal > vertical ? vertical : horizontal;
}
