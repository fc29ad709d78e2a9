#pragma once
#include <cstdint>

namespace quellor {

struct WorldSettings3D;

// What one world step hands down to the solver.
struct TimeStep3D {
    float m_dt = 0.0f;
    std::uint8_t m_velocityIterations = 0;
    std::uint8_t m_positionIterations = 0;
    const WorldSettings3D* m_settings = nullptr;
};

} // namespace quellor
