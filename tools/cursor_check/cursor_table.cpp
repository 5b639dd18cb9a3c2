#include "tools/cursor_check/cursor_table.h"

#include <windows.h>

#include <stdio.h>

#include <string>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "tools/cursor_check/slot_check.h"

namespace {

struct SlotSet {
    const char* name;
    const char* pattern;
    int default_first_id;
    bool animated;
};

const SlotSet SETS[] = {
    {"base", BASE_CURSOR_PATTERN, BASE_DEFAULT_FIRST_ID, false},
    {"animated", ANIMATED_CURSOR_PATTERN, ANIMATED_DEFAULT_FIRST_ID, true},
};

const char* const PRESENCE_WORDS[] = {"missing", "present", "folder", "restored", "absent"};

std::string size_text(int width, int height) {
    if (width <= 0 || height <= 0)
        return "-";
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string trimmed(const char* text) {
    std::string line = text;
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

std::string join(const std::string& first, const std::string& second) {
    if (first.empty())
        return second;
    return second.empty() ? first : first + "; " + second;
}

// What the player sees for this slot when the file does not give a cursor.
std::string fallback(const SlotSet& set, int slot) {
    if (set.animated)
        return "shows base cursor " + std::to_string(slot);
    return "kind " + std::to_string(slot) + " shows no cursor";
}

SlotCheck check_slot(const SlotSet& set, int slot, float scale, bool restore_defaults) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, set.pattern, slot);
    int identifier = set.default_first_id + slot;
    bool has_default = has_default_cursor(identifier);
    SlotCheck check = check_cursor_file(path, scale);
    if (check.presence == FILE_MISSING && has_default && restore_defaults) {
        extract_default_cursor(module_handle, identifier, path);
        check = check_cursor_file(path, scale);
        if (check.presence == FILE_MISSING) {
            check.note = "default " + std::to_string(identifier) + " could not be written";
            return check;
        }
        check.presence = FILE_RESTORED;
        check.note = join("default " + std::to_string(identifier) + " written now", check.note);
    }
    if (check.presence == FILE_MISSING && !has_default) {
        check.presence = FILE_ABSENT;
        check.note = "no default: " + fallback(set, slot);
    } else if (check.presence == FILE_MISSING) {
        check.note = "default " + std::to_string(identifier) + " is written at the next start";
    } else if (!check.loads) {
        check.note = join(check.note, fallback(set, slot));
    }
    return check;
}

void count(const SlotCheck& check, TableCounts* counts) {
    if (check.presence == FILE_MISSING)
        counts->missing++;
    else if (check.presence == FILE_ABSENT)
        counts->absent++;
    else if (check.loads)
        counts->loading++;
    else
        counts->failing++;
}

}  // namespace

TableCounts print_cursor_table(float scale, bool restore_defaults) {
    TableCounts counts = {};
    printf("%4s  %-8s  %-8s  %-5s  %-9s  %-9s  %s\n", "slot", "set", "file", "loads", "native",
           "loads at", "note");
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        for (const SlotSet& set : SETS) {
            SlotCheck check = check_slot(set, slot, scale, restore_defaults);
            bool no_file = check.presence == FILE_MISSING || check.presence == FILE_ABSENT;
            const char* loads = no_file ? "-" : check.loads ? "yes" : "NO";
            char row[128];
            snprintf(row, sizeof row, "%4d  %-8s  %-8s  %-5s  %-9s  %-9s", slot, set.name,
                     PRESENCE_WORDS[check.presence], loads,
                     size_text(check.native_width, check.native_height).c_str(),
                     size_text(check.width, check.height).c_str());
            if (check.note.empty())
                printf("%s\n", trimmed(row).c_str());
            else
                printf("%s  %s\n", row, check.note.c_str());
            count(check, &counts);
        }
    }
    return counts;
}
