#include "tools/cursor_check/findings.h"

namespace {

std::vector<Problem> found;
std::vector<std::string> noted;

}  // namespace

void add_problem(const std::string& brief, const std::string& advice) {
    found.push_back({brief, advice});
}

void add_note(const std::string& note) {
    noted.push_back(note);
}

const std::vector<std::string>& notes() {
    return noted;
}

const std::vector<Problem>& problems() {
    return found;
}

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void forget_problems() {
    found.clear();
    noted.clear();
}
