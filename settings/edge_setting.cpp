#include "settings/edge_setting.h"

#include <windows.h>

#include "settings/scale_policy.h"

namespace {

// Longer than either word, so that "squares" is not read as "square".
const int VALUE_BUFFER_SIZE = 16;

// ASCII letters compared without case (no locale, no import).
bool same_word(const char* text, const char* word) {
    for (;; ++text, ++word) {
        char a = *text >= 'A' && *text <= 'Z' ? static_cast<char>(*text - 'A' + 'a') : *text;
        if (a != *word)
            return false;
        if (!a)
            return true;
    }
}

}  // namespace

EdgeStyle edges_of(const char* value, bool* known) {
    bool square = same_word(value, EDGES_SQUARE_WORD);
    if (known)
        *known = square || same_word(value, EDGES_SMOOTH_WORD);
    return square ? EDGES_SQUARE : EDGES_SMOOTH;
}

EdgeStyle read_edges_setting() {
    char value[VALUE_BUFFER_SIZE];
    GetPrivateProfileStringA(SETTINGS_SECTION, SETTINGS_EDGES_KEY, EDGES_SMOOTH_WORD, value,
                             sizeof value, SETTINGS_FILE);
    return edges_of(value, NULL);
}

const char* edges_word(EdgeStyle edges) {
    return edges == EDGES_SQUARE ? EDGES_SQUARE_WORD : EDGES_SMOOTH_WORD;
}
