#include "host/tour/tour_expect.h"

#include <stdio.h>
#include <stdlib.h>

#include "host/runtime/host_state.h"

namespace {

const char SETTINGS_PATH[] = ".\\plugin\\Quillmere.ini";
const int DEFAULT_SIDE = 32;
const int LARGE_DEFAULT_SIDE = 35;
const int LARGE_DEFAULT_SLOTS[] = {10, 12};
const int SETTINGS_TEXT_SIZE = 64;

// The scale of a client area against the host screen, in single precision
// as the settings comments promise sizes "twice as large" and so on.
float automatic_scale(SIZE client) {
    float horizontal = static_cast<float>(client.cx) / static_cast<float>(HOST_SCREEN_WIDTH);
    float vertical = static_cast<float>(client.cy) / static_cast<float>(HOST_SCREEN_HEIGHT);
    return horizontal < vertical ? horizontal : vertical;
}

}  // namespace

TourSettings read_tour_settings() {
    char text[SETTINGS_TEXT_SIZE] = "";
    GetPrivateProfileStringA("Cursor", "Size", "", text, sizeof text, SETTINGS_PATH);
    TourSettings settings;
    settings.text = text;
    settings.size = atof(text);
    GetPrivateProfileStringA("Cursor", "Edges", "", text, sizeof text, SETTINGS_PATH);
    settings.edges = text;
    if (settings.size == 0.0)
        settings.mode = TOUR_AUTOMATIC;
    else
        settings.mode = settings.size > 1.0 ? TOUR_FIXED : TOUR_NATIVE;
    return settings;
}

std::string settings_label(const TourSettings& settings, SIZE client) {
    char label[96];
    if (settings.mode == TOUR_AUTOMATIC)
        snprintf(label, sizeof label, "automatic, client %ldx%ld", client.cx, client.cy);
    else
        snprintf(label, sizeof label, "Size=%s%s", settings.text.c_str(),
                 settings.mode == TOUR_NATIVE ? " (native)" : "");
    if (!settings.edges.empty())
        return std::string(label) + ", Edges=" + settings.edges;
    return label;
}

int default_cursor_side(int slot) {
    for (int large : LARGE_DEFAULT_SLOTS)
        if (slot == large)
            return LARGE_DEFAULT_SIDE;
    return DEFAULT_SIDE;
}

int expected_side(const TourSettings& settings, SIZE client, int native) {
    double scale = 1.0;
    if (settings.mode == TOUR_FIXED)
        scale = static_cast<float>(settings.size);
    else if (settings.mode == TOUR_AUTOMATIC && automatic_scale(client) > 1.0f)
        scale = automatic_scale(client);
    return static_cast<int>(native * scale);
}
