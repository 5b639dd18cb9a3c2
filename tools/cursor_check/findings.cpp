#include "tools/cursor_check/findings.h"

namespace {

std::vector<Problem> found;

}  // namespace

void add_problem(const std::string& brief, const std::string& advice) {
    found.push_back({brief, advice});
}

const std::vector<Problem>& problems() {
    return found;
}

std::string plural(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

void forget_problems() {
    found.clear();
}
