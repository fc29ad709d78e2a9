#include "tools/writers/EmitterWriter.h"

#include "renderer/INIFile.h"

namespace tarsel::tools {

namespace {

void WriteVector(ZOR::INIFile& file, const std::string& section, const EmitterDescription::Vector& v)
{
    file.Write(section, "X", v.x);
    file.Write(section, "Y", v.y);
    file.Write(section, "Z", v.z);
}

void WriteRange(ZOR::INIFile& file, const std::string& section, const EmitterDescription::Range& r)
{
    file.Write(section, "MIN", r.min);
    file.Write(section, "MAX", r.max);
}

} // namespace

bool WriteEmitter(const EmitterDescription& emitter, const std::string& path)
{
    ZOR::INIFile file;
    file.Write("MAX_PARTICLES", "VALUE", emitter.maxParticles);
    file.Write("PARTICLE_TYPES", "VALUE", emitter.particleTypes);
    for (std::size_t i = 0; i < emitter.types.size(); ++i)
        file.Write("PARTICLE_TYPE_" + std::to_string(i + 1), "TEXTURE", emitter.types[i].texture);
    for (std::size_t i = 0; i < emitter.types.size(); ++i)
        file.Write("PARTICLE_TYPE_" + std::to_string(i + 1), "BLEND_MODE", emitter.types[i].blendMode);
    for (std::size_t i = 0; i < emitter.types.size(); ++i)
        file.Write("PARTICLE_TYPE_" + std::to_string(i + 1), "START_COLOR", emitter.types[i].startColor);
    for (std::size_t i = 0; i < emitter.types.size(); ++i)
        file.Write("PARTICLE_TYPE_" + std::to_string(i + 1), "END_COLOR", emitter.types[i].endColor);
    WriteVector(file, "GRAVITY", emitter.gravity);
    WriteVector(file, "POSITION", emitter.position);
    WriteVector(file, "LINE_ENDPOINT", emitter.lineEndpoint);
    WriteVector(file, "CONE_DIRECTION", emitter.coneDirection);
    file.Write("CONE_ANGLE", "VALUE", emitter.coneAngle);
    file.Write("SPHERE_RADIUS", "VALUE", emitter.sphereRadius);
    file.Write("BOX", "MIN_X", emitter.boxMin.x);
    file.Write("BOX", "MIN_Y", emitter.boxMin.y);
    file.Write("BOX", "MIN_Z", emitter.boxMin.z);
    file.Write("BOX", "MAX_X", emitter.boxMax.x);
    file.Write("BOX", "MAX_Y", emitter.boxMax.y);
    file.Write("BOX", "MAX_Z", emitter.boxMax.z);
    file.Write("VELOCITY_DAMPING", "VALUE", emitter.velocityDamping);
    file.Write("ANGULAR_VELOCITY_DAMPING", "VALUE", emitter.angularVelocityDamping);
    file.Write("EMIT", "VALUE", emitter.emit);
    file.Write("SCALE_OUT", "VALUE", emitter.scaleOut);
    file.Write("FADE_OUT", "VALUE", emitter.fadeOut);
    WriteRange(file, "PARTICLE_LIFESPAN", emitter.lifespan);
    WriteRange(file, "PARTICLE_SPAWN_INTERVAL", emitter.spawnInterval);
    WriteRange(file, "PARTICLE_SPEED", emitter.speed);
    WriteRange(file, "PARTICLE_SCALE", emitter.scale);
    WriteRange(file, "PARTICLE_ANGULAR_VELOCITY", emitter.angularVelocity);
    file.Write("EMITTER", "TYPE", emitter.emitterType);
    return file.Save(path);
}

} // namespace tarsel::tools
