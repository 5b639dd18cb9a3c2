// The settings window's class and the identifiers of its controls, which
// its tests use to find and drive them.
#pragma once

#include <windows.h>

const wchar_t SETTINGS_WINDOW_CLASS[] = L"QuillmereSettings";
const wchar_t PREVIEW_CLASS[] = L"QuillmereCursorPreview";

enum ControlId {
    ID_SAVE = IDOK,      // Enter
    ID_CLOSE = IDCANCEL, // Esc
    ID_GAME_FOLDER = 100,
    ID_SIZE_GROUP,
    ID_AUTOMATIC,
    ID_FIXED,
    ID_OWN_SIZE,
    ID_SLIDER,
    ID_FIXED_VALUE,
    ID_TIMES,
    ID_WINDOW_LABEL,
    ID_WINDOW_SIZE,
    ID_SHOWN_AT,
    ID_PREVIEW,
    ID_FINDINGS_LABEL,
    ID_FINDINGS,
    ID_STATUS,
    ID_RESTORE,
    ID_OPEN_FOLDER,
    ID_REPORT,
    ID_EDGES,
    // The preview's choices for its focused tile.
    ID_CHOOSE_FILE,
    ID_USE_DEFAULT,
};
