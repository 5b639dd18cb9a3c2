// printf-style formatting into a string, for the messages and captions of
// the stand-in host and the programs built around it.
#pragma once

#include <string>

// The formatted text, cut at 1023 characters.
std::string format(const char* pattern, ...) __attribute__((format(printf, 1, 2)));
