// How large the cursors are: one value in the settings file selects a fixed
// scale (above 1), native size (above 0 up to 1, or negative), or automatic
// scaling from the host window's client area (0, the default). Nothing here
// touches module or host state: scale_mode and scale_for_client are pure
// rules, and the two readers read the settings file and nothing else, so the
// tools use them as they are.
#pragma once

const char SETTINGS_FILE[] = ".\\plugin\\Quillmere.ini";
const char SETTINGS_SECTION[] = "Cursor";
const char SETTINGS_SIZE_KEY[] = "Size";

// What a Size value selects: 0 (and -0) automatic scaling, above 1 a fixed
// scale, anything else (negative, above 0 up to 1, NaN) native size.
enum ScaleMode { SCALE_AUTOMATIC, SCALE_FIXED, SCALE_NATIVE };
ScaleMode scale_mode(float setting);

// A number from a profile (INI) file, converted with the C runtime's atof in
// its current locale and rounded to single precision. At most 15 characters
// of the value are read; a missing file, key or number gives `default_value`
// formatted as "%.1f" and read back (so 0.0 for the default).
float read_ini_float(const char* section, const char* key, float default_value, const char* file);

// The Size value of the settings file; 0 (automatic) when there is none.
float read_size_setting();

// The scale at which a client area of width by height shows a screen of
// screen_width by screen_height: the smaller of the two factors, each rounded
// to single precision. A screen side of 0 makes its factor infinite. Touches
// no host memory, so tools can use it outside the host.
float scale_for_client(int width, int height, int screen_width, int screen_height);
