#include "host/runtime/text_format.h"

#include <stdarg.h>
#include <stdio.h>

std::string format(const char* pattern, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, pattern);
    vsnprintf(text, sizeof text, pattern, arguments);
    va_end(arguments);
    return text;
}
