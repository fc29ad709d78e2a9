#pragma once
#include <cstdint>

namespace quellor {

// The tuning every world runs with; nothing changes them after construction.
struct WorldSettings3D {
    float m_linearDamping = 0.025f;
    float m_angularDamping = 0.025f;
    std::uint8_t m_warmStarting = 1;
    float m_warmStartScale = 0.95f;
    float m_pointMatchingDistance = 0.05f;
    std::uint8_t m_allowSleeping = 1;
    float m_linearSleepTolerance = 0.25f;
    float m_angularSleepTolerance = 0.25f;
    float m_timeToSleep = 2.0f;
    float m_linearSlop = 0.015f;
    float m_biasFactor = 0.2f;
    float m_restitutionOffset = 0.15f;
    float m_frictionImpulseOffset = 0.01f;
    float m_positionSlop = 0.035f;
    float m_positionCorrectionFactor = 0.1f;
    float m_leastPositionCorrection = 0.00025f;
    float m_greatestPositionCorrection = 0.5f;
};

} // namespace quellor
