#include "tools/cursor_check/slot_table.h"

#include <windows.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "base/module_state.h"
#include "cursors/cursor_plan.h"
#include "cursors/cursor_loader.h"
#include "cursors/cursor_table.h"
#include "cursors/default_cursors.h"
#include "tools/cursor_check/console_text.h"
#include "tools/cursor_check/findings.h"
#include "tools/cursor_check/game_folder.h"
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
const int SET_COUNT = 2;

// By FilePresence.
const char* const PRESENCE_WORDS[] = {"missing",  "present", "folder",
                                      "restored", "none",    "missing"};
// A note that does not fit beside its row goes under it, this far in.
const int NOTE_INDENT = 8;
const char ROW_FORMAT[] = "%6s  %-8s  %-8s  %-5s  %-9s  %-10s  %s";

// How a slot that needs no row of its own is folded into a line.
enum Fold {
    OWN_ROW,             // a player's file, or a problem
    DEFAULT_FILE,        // the default's own file
    DEFAULT_NEXT_START,  // missing; the game writes the default at its next start
    DEFAULT_RESTORED,    // missing; its default was written just now
    NO_FILE,             // an animated slot without a file: the base cursor shows
    FOLD_COUNT,
};

const char* const FOLD_LABELS[FOLD_COUNT] = {
    "", "defaults", "defaults", "restored", "no file",
};
const char* const FOLD_TEXTS[FOLD_COUNT] = {
    "",
    "the default cursors",
    "not there yet: the game writes the default cursors at its next start",
    "the default cursors, written just now",
    "the base cursor of each number shows",
};

struct SlotRow {
    SlotCheck check;
    std::string maximised;  // the size maximised, in automatic mode
    Fold fold;
};

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

std::string slot_path(const SlotSet& set, int slot) {
    char path[MAX_PATH];
    snprintf(path, sizeof path, set.pattern, slot);
    return path;
}

// A file that fails: what the player sees for this slot instead, why, and
// what to do about it.
std::string failure_note(int slot, bool has_default, const std::string& why) {
    std::string number = std::to_string(slot);
    std::string seen = has_default ? "the game shows its default cursor " + number + " instead"
                                   : "the game shows base cursor " + number + " instead";
    return "fails to load: " + seen + " (" + why + ")" +
           (has_default ? "; replace it, or delete it to get the default back"
                        : "; replace it, or delete it");
}

SlotCheck check_slot(const SlotSet& set, int slot, float scale, int side, bool restore_defaults,
                     bool writable) {
    std::string path = slot_path(set, slot);
    int identifier = set.default_first_id + slot;
    bool has_default = has_default_cursor(identifier);
    SlotCheck check = check_cursor_file(path.c_str(), scale, side);
    if (check.presence == FILE_MISSING && has_default && writable && restore_defaults) {
        extract_default_cursor(module_handle, identifier, path.c_str());
        check = check_cursor_file(path.c_str(), scale, side);
        if (check.presence == FILE_MISSING) {
            check.presence = FILE_UNWRITABLE;
            check.note = "default cursor shows; its file could not be written";
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
        check.note = "default cursor shows, but no file can go here: fix the folder (see above)";
    } else if (check.presence == FILE_MISSING) {
        check.note = "written at next start";
    } else if (!check.loads) {
        check.note = failure_note(slot, has_default, check.note);
    }
    return check;
}

Fold fold_of(const SlotSet& set, int slot, const SlotCheck& check) {
    switch (check.presence) {
        case FILE_MISSING:
            return DEFAULT_NEXT_START;
        case FILE_ABSENT:
            return NO_FILE;
        case FILE_RESTORED:
            return check.note == "default written now" ? DEFAULT_RESTORED : OWN_ROW;
        case FILE_PRESENT:
            return check.loads && (check.note.empty() || check.capped) &&
                           is_default_cursor(slot_path(set, slot).c_str(),
                                             set.default_first_id + slot)
                       ? DEFAULT_FILE
                       : OWN_ROW;
        default:
            return OWN_ROW;
    }
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

void print_row(int slot, const SlotSet& set, const SlotRow& row) {
    const SlotCheck& check = row.check;
    bool no_file = check.presence == FILE_MISSING || check.presence == FILE_ABSENT;
    const char* loads = no_file ? "-" : check.loads ? "yes" : "NO";
    char text[LINE_WIDTH + 1];
    snprintf(text, sizeof text, ROW_FORMAT, std::to_string(slot).c_str(), set.name,
             PRESENCE_WORDS[check.presence], loads,
             size_text(check.native_width, check.native_height).c_str(),
             size_text(check.width, check.height).c_str(), row.maximised.c_str());
    std::string line = text;
    line.erase(line.find_last_not_of(' ') + 1);
    if (!check.note.empty() && line.size() + 2 + check.note.size() <= LINE_WIDTH) {
        print_line(line + "  " + check.note);
        return;
    }
    print_line(line);
    if (!check.note.empty())
        print_line(std::string(NOTE_INDENT, ' ') + check.note, NOTE_INDENT);
}

// "0-4, 6, 8-21": slot numbers in runs.
std::string runs_of(const std::vector<int>& slots) {
    std::string text;
    for (size_t i = 0; i < slots.size();) {
        size_t end = i;
        while (end + 1 < slots.size() && slots[end + 1] == slots[end] + 1) ++end;
        text += (text.empty() ? "" : ", ") + std::to_string(slots[i]);
        if (end > i)
            text += (end == i + 1 ? ", " : "-") + std::to_string(slots[end]);
        i = end + 1;
    }
    return text;
}

void print_folded(const SlotRow rows[SET_COUNT][LOADED_SLOT_COUNT]) {
    for (int fold = DEFAULT_FILE; fold < FOLD_COUNT; ++fold) {
        std::string which;
        for (int set = 0; set < SET_COUNT; ++set) {
            std::vector<int> slots;
            for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
                if (rows[set][slot].fold == fold)
                    slots.push_back(slot);
            if (!slots.empty())
                which += (which.empty() ? "" : ", ") + std::string(SETS[set].name) + " " +
                         runs_of(slots);
        }
        if (!which.empty()) {
            char label[LABEL_WIDTH + 1];
            snprintf(label, sizeof label, "%-*s", LABEL_WIDTH, FOLD_LABELS[fold]);
            print_line(label + which + ": " + FOLD_TEXTS[fold]);
        }
    }
}

// A problem for every file that fails: "cursors 7, 9 and animated cursor 5
// fail to load" on the result line, and each with its own advice.
// True when the file has more pictures than the game builds at `scale`:
// shown smaller than asked though its sides are within the largest side.
// (A file whose sides reach the largest side stops there: a note.)
bool file_has_too_many_pixels(const SlotCheck& check, float scale) {
    if (!check.capped)
        return false;
    int width, height;
    asked_size(check.native_width, check.native_height, scale, &width, &height);
    int side = width > height ? width : height;
    return check.native_width <= static_cast<int>(MAX_CURSOR_SIDE) &&
           check.native_height <= static_cast<int>(MAX_CURSOR_SIDE) &&
           side <= static_cast<int>(MAX_CURSOR_SIDE);
}

void note_failures(const SlotRow rows[SET_COUNT][LOADED_SLOT_COUNT], float scale) {
    std::string names;
    int failing = 0;
    for (int set = 0; set < SET_COUNT; ++set)
        for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
            const SlotCheck& check = rows[set][slot].check;
            // Defaults that can't be written are the folder's problem, named once.
            if (check.presence != FILE_PRESENT && check.presence != FILE_FOLDER &&
                check.presence != FILE_RESTORED)
                continue;
            std::string path = shown_path(slot_path(SETS[set], slot).c_str());
            if (check.loads && file_has_too_many_pixels(check, scale))
                add_problem("cursor " + std::to_string(slot) + " is shown smaller than asked",
                            path + ": " + check.note + ": use a file with fewer pictures");
            else if (check.loads && check.capped && rows[set][slot].fold == OWN_ROW)
                add_note(path + " (" + std::to_string(check.native_width) + "x" +
                         std::to_string(check.native_height) + ") shows at " +
                         std::to_string(check.width) + "x" + std::to_string(check.height) +
                         ", the largest cursor the game shows (" +
                         std::to_string(MAX_CURSOR_SIDE) + " pixels a side)");
            if (check.loads)
                continue;
            ++failing;
            std::string name = std::string(SETS[set].animated ? "animated " : "") + "cursor " +
                               std::to_string(slot);
            names += (names.empty() ? "" : ", ") + name;
            add_problem("", path + ": " + check.note);
        }
    if (failing)
        add_problem(names + (failing == 1 ? " fails" : " fail") + " to load", "");
}

}  // namespace

TableCounts print_cursor_table(const TableScales& scales, bool restore_defaults,
                               FolderAccess access) {
    static SlotRow rows[SET_COUNT][LOADED_SLOT_COUNT];
    TableCounts counts = {};
    bool maximised_column = scales.automatic && (scales.maximised != scales.scale ||
                                                 scales.maximised_side != scales.side);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot) {
        for (int set = 0; set < SET_COUNT; ++set) {
            bool writable = SETS[set].animated ? access.animated : access.base;
            SlotRow& row = rows[set][slot];
            row.check = check_slot(SETS[set], slot, scales.scale, scales.side, restore_defaults,
                                   writable);
            int maximised_width = 0, maximised_height = 0;
            bool maximised_fits =
                row.check.loads && size_at_scale(scales.maximised, scales.maximised_side,
                                                 &maximised_width, &maximised_height);
            row.fold = fold_of(SETS[set], slot, row.check);
            row.maximised.clear();
            if (maximised_column && row.fold == OWN_ROW && row.check.loads) {
                row.maximised = size_text(maximised_fits ? maximised_width : 0,
                                          maximised_fits ? maximised_height : 0);
            }
            count(row.check, &counts);
        }
    }
    std::string shown_at = "shown at";
    if (scales.automatic)
        shown_at = "at " + std::to_string(scales.client_width) + "x" +
                   std::to_string(scales.client_height);
    char header[LINE_WIDTH + 1];
    snprintf(header, sizeof header, ROW_FORMAT, "cursor", "set", "file", "loads", "own size",
             shown_at.c_str(), maximised_column ? "maximised" : "");
    std::string line = header;
    line.erase(line.find_last_not_of(' ') + 1);
    bool any_row = false;
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        for (int set = 0; set < SET_COUNT; ++set)
            any_row = any_row || rows[set][slot].fold == OWN_ROW;
    if (any_row)
        print_line(line);
    for (int slot = 0; slot < LOADED_SLOT_COUNT; ++slot)
        for (int set = 0; set < SET_COUNT; ++set)
            if (rows[set][slot].fold == OWN_ROW)
                print_row(slot, SETS[set], rows[set][slot]);
    print_folded(rows);
    note_failures(rows, scales.scale);
    return counts;
}
