// Running the players' check tool (quillmere_check.exe) as the real program
// in a scratch game folder, and reading its report.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "support/child_process.h"

const DWORD EXIT_ALL_FINE = 0;
const DWORD EXIT_PROBLEMS = 1;
const DWORD EXIT_USAGE = 2;
const DWORD EXIT_NOT_A_GAME_FOLDER = 3;
const char TOOL_NAME[] = "quillmere_check.exe";
// The game's program beside plugin: the stand-in host, under a game's name.
const char GAME_PROGRAM[] = "Game.exe";

std::string base(int slot);
std::string animated(int slot);

// One table row: the columns after slot and set, then the note (in
// automatic mode the maximised size leads the note).
struct Row {
    std::string file, loads, native, at, note;
};

// Table rows by "<slot> <set>"; rows folded into a line are not among them.
std::map<std::string, Row> rows_of(const std::string& output);

bool contains(const std::string& text, const std::string& part);
std::vector<std::string> lines_of(const std::string& output);
// The first line of the output naming `part` (with its wrapped continuation
// lines joined), or "" when none does.
std::string line_with(const std::string& output, const std::string& part);
// The numbers of the count line: load, fail, missing, can't be written, none.
std::vector<int> counts_of(const std::string& output);

std::string tool_path();
std::string host_path();

// Runs the tool with `arguments` in the current folder; every line it
// writes must fit a console.
ChildRun run_tool(const std::string& arguments, const std::string& tool = tool_path());

// Makes the current folder a game folder: the game's program, its
// storm.dll, and the built plug-in in plugin (which must exist).
void lay_out_game(const std::string& folder = ".");
