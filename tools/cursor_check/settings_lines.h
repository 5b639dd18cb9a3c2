// The settings file's lines as the player wrote them, for the ones the game
// never reads: a Size above every section line or under another section
// ([Cursors], a typo), a second Size under [Cursor], a key the game does not
// know under [Cursor]. The game reads only the first Size under [Cursor];
// the player who wrote any of the others expects it to count.
#pragma once

#include <string>
#include <vector>

struct IgnoredSetting {
    std::string line;    // the line as written, trimmed: "Size=2.0"
    std::string where;   // "above every section line", "under [Cursors]"
    std::string fix;     // what to do, in the player's words
    bool is_size;        // a Size line (else a key the game does not know)
};

struct SettingsLines {
    std::vector<IgnoredSetting> ignored;
    bool size_under_section;  // a Size line stands under [Cursor]
};

// The text of `file` as UTF-8, whatever Notepad saved it as (ANSI, UTF-8,
// UTF-16); the first MiB of it at most.
std::string settings_file_text(const char* file);

// The lines of `file` (a profile file, ANSI, UTF-8 or UTF-16) that the game
// never reads although they look like settings meant for it.
SettingsLines read_settings_lines(const char* file);
