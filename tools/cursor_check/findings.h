// What the check found that keeps the game from showing the cursors as the
// player set them: each with a few words for the result line and what to do.
#pragma once

#include <string>
#include <vector>

struct Problem {
    std::string brief;   // for the result line: "cursor 7 fails to load"
    std::string advice;  // what it is and what to do, for the top of the report
};

// Notes a problem; the report's parts call it as they find them.
void add_problem(const std::string& brief, const std::string& advice);

// Every problem noted so far, in the order found.
const std::vector<Problem>& problems();

// Notes what the game does as the player wrote it, though it may surprise
// them (a cursor already at the largest size, a line the game skips beside
// the one it reads): never a problem.
void add_note(const std::string& note);

// Every note so far, in the order found.
const std::vector<std::string>& notes();

// Forgets the problems and notes, before a check runs again.
void forget_problems();

// "1 file" / "2 files".
std::string plural(int count, const char* one, const char* many);
