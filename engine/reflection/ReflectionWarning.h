#pragma once
// One warning line on standard output ("Warning: ..."), for refused reflected calls and reads.

namespace quellor {

void ReflectionWarning(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace quellor
