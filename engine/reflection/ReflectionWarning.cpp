#include "engine/reflection/ReflectionWarning.h"

#include <cstdarg>
#include <cstdio>

namespace quellor {

void ReflectionWarning(const char* format, ...)
{
    char text[2048];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof(text), format, args);
    va_end(args);
    std::printf("Warning: %s\n", text);
    std::fflush(stdout);
}

} // namespace quellor
