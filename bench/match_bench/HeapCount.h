#pragma once
// Heap allocations made through operator new since the process started, counted by this
// benchmark's replacement of the global operator new (every thread).
#include <cstdint>

namespace tarselbench {

std::uint64_t HeapAllocations();

} // namespace tarselbench
