#include "tools/cursor_check/cursor_table.h"

#include <windows.h>

#include <stdio.h>

#include <string>

#include "base/module_state.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "tools/cursor_check/console_text.h"
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

// By FilePresence.
const char* const PRESENCE_WORDS[] = {"missing", "present", "folder", "restored", "none",
                                      "missing"};
// A note that does not fit beside its row goes under it, this far in.
const int NOTE_INDENT = 8;
const char ROW_FORMAT[] = "%6s  %-8s  %-8s  %-5s  %-9s  %-9s";

std::string size_text(int width, int height) {
    if (width <= 0 || height <= 0)
        return "-";
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string join(const std::string& first, const std::string& second) {
    if (first.empty())
        return second;
    return second.empty() ? first : first + "; " + second;
}

// What the player sees for this slot when the file does not give a cursor,
// and what to do about it.
std::string consequence(const SlotSet& set, int slot, bool has_default) {
    std::string number = std::to_string(slot);
    std::string seen = set.animated ? "the game shows base cursor " + number + " instead"
                                    : "the game shows no cursor " + number;
    return seen + (has_default ? "; replace it, or delete it to get the default back"
                               : "; replace it, or delete it to show the base cursor");
}

SlotCheck check_slot(const SlotSet& set, int slot, float scale, bool restore_defaults,
                     bool writable) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, set.pattern, slot);
    int identifier = set.default_first_id + slot;
    bool has_default = has_default_cursor(identifier);
    SlotCheck check = check_cursor_file(path, scale);
    if (check.presence == FILE_MISSING && has_default && writable && restore_defaults) {
        extract_default_cursor(module_handle, identifier, path);
        check = check_cursor_file(path, scale);
        if (check.presence == FILE_MISSING) {
            check.presence = FILE_UNWRITABLE;
            check.note = "built-in cursor shows; its file could not be written";
            return check;
        }
        check.presence = FILE_RESTORED;
        check.note = join("default written now", check.note);
    }
    if (check.presence == FILE_MISSING && !has_default) {
        check.presence = FILE_ABSENT;
        check.note = "base cursor shows";
    } else if (check.presence == FILE_MISSING && !writable) {
        check.presence = FILE_UNWRITABLE;
        check.note = "built-in cursor shows, but no file can go here: fix the folder (see above)";
    } else if (check.presence == FILE_MISSING) {
        check.note = "written at next start";
    } else if (!check.loads) {
        check.note = join(check.note, consequence(set, slot, has_default));
    }
    return check;
}

void count(const SlotCheck& check, TableCounts* counts) {
    if (check.presence == FILE_MISSING)
        counts->missing++;
    else if (check.presence == FILE_ABSENT)
        counts->absent++;
    else if (check.presence == FILE_UNWRITABLE)
        counts->unwritable++;
    else if (check.loads)
        counts->loading++;
    else
        counts->failing++;
}

void print_row(int slot, const SlotSet& set, const SlotCheck& check) {
    bool no_file = check.presence == FILE_MISSING || check.presence == FILE_ABSENT;
    const char* loads = no_file ? "-" : check.loads ? "yes" : "NO";
    char row[LINE_WIDTH + 1];
    snprintf(row, sizeof row, ROW_FORMAT, std::to_string(slot).c_str(), set.name,
             PRESENCE_WORDS[check.presence], loads,
             size_text(check.native_width, check.native_height).c_str(),
             size_text(check.width, check.height).c_str());
    std::string line = row;
    if (!check.note.empty() && line.size() + 2 + check.note.size() <= LINE_WIDTH) {
        print_line(line + "  " + check.note);
        return;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    print_line(line);
    if (!check.note.empty())
        print_line(std::string(NOTE_INDENT, ' ') + check.note, NOTE_INDENT);
}

}  // namespace

TableCounts print_cursor_table(float scale, bool restore_defaults, FolderAccess access) {
    TableCounts counts = {};
    char header[LINE_WIDTH + 1];
    snprintf(header, sizeof header, ROW_FORMAT, "cursor", "set", "file", "loads", "own size",
             "shown at");
    print_line(header);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        for (const SlotSet& set : SETS) {
            bool writable = set.animated ? access.animated : access.base;
            SlotCheck check = check_slot(set, slot, scale, restore_defaults, writable);
            print_row(slot, set, check);
            count(check, &counts);
        }
    }
    return counts;
}
