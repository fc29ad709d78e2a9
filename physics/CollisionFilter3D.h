#pragma once
#include <cstdint>

namespace quellor {

// Which colliders may touch. A shared non-zero group decides on its own (positive: always,
// negative: never); otherwise category and mask decide.
struct CollisionFilter3D {
    std::uint32_t category = 1;
    std::uint32_t mask = 0xFFFF;
    std::int32_t group = 0;

    // Category and mask are only tested for being non-zero, each on its own: the game uses them
    // as on/off switches rather than as bit sets.
    bool ShouldCollide(const CollisionFilter3D& other) const;
};

} // namespace quellor
