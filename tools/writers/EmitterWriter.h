#pragma once
#include <array>
#include <string>

namespace tarsel::tools {

// Every setting of a particle-emitter file, as the file names them.
struct EmitterDescription {
    struct ParticleType {
        std::string texture;
        std::string blendMode = "ALPHA";     // "NONE", "ALPHA" or "ADDITIVE"
        std::string startColor = "1 1 1 1";  // r g b a
        std::string endColor = "1 1 1 1";
    };
    struct Range {
        float min = 0.0f;
        float max = 0.0f;
    };
    struct Vector {
        float x = 0.0f, y = 0.0f, z = 0.0f;
    };

    unsigned maxParticles = 0;
    unsigned particleTypes = 1;
    std::array<ParticleType, 5> types;
    Vector gravity, position, lineEndpoint, coneDirection;
    float coneAngle = 45.0f;
    float sphereRadius = 1.0f;
    Vector boxMin, boxMax;
    float velocityDamping = 0.0f;
    float angularVelocityDamping = 0.0f;
    bool emit = false;
    bool scaleOut = false;
    bool fadeOut = false;
    Range lifespan, spawnInterval, speed;
    Range scale{1.0f, 1.0f};
    Range angularVelocity;
    std::string emitterType = "POINT";
};

// Writes every key of the emitter file, in reading order, through the INI writer.
bool WriteEmitter(const EmitterDescription& emitter, const std::string& path);

} // namespace tarsel::tools
