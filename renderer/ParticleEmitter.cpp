#include "renderer/ParticleEmitter.h"

#include "renderer/INIFile.h"
#include "renderer/RenderSystem.h"
#include "renderer/math/Angles.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale>
#include <sstream>

namespace ZOR {

namespace {

constexpr float kTwoPi = 6.28318530718f;
constexpr float kPi = 3.14159265359f;

std::string TypeSection(unsigned i)
{
    return "PARTICLE_TYPE_" + std::to_string(i + 1);
}

// A number that would poison the simulation (infinity, NaN, or a value beyond float range that a
// stream would silently saturate) is replaced by the setting's default, with a log line.
float ReadFloat(const INIFile& file, const std::string& section, const std::string& key, float fallback)
{
    const std::string text = file.Read<std::string>(section, key);
    if (!text.empty()) {
        const float raw = std::strtof(text.c_str(), nullptr);
        if (!std::isfinite(raw)) {
            std::printf("ParticleEmitter: [%s] %s is not a finite number (%s); using %g\n", section.c_str(),
                        key.c_str(), text.c_str(), static_cast<double>(fallback));
            return fallback;
        }
    }
    return file.Read<float>(section, key);
}

float3 ReadVector(const INIFile& file, const std::string& section, const float3& fallback)
{
    return float3(ReadFloat(file, section, "X", fallback.x), ReadFloat(file, section, "Y", fallback.y),
                  ReadFloat(file, section, "Z", fallback.z));
}

float2 ReadRange(const INIFile& file, const std::string& section, const float2& fallback)
{
    return float2(ReadFloat(file, section, "MIN", fallback.x), ReadFloat(file, section, "MAX", fallback.y));
}

// Up to four numbers r g b a; parts that are missing, unreadable or not finite stay at 1.
Color ParseColor(const std::string& text, const std::string& section, const std::string& key)
{
    float parts[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    for (float& part : parts) {
        std::string word;
        if (!(in >> word))
            break;
        char* end = nullptr;
        const float value = std::strtof(word.c_str(), &end);
        // Text that is no number ends the colour, as it would end a stream read.
        if (end == word.c_str())
            break;
        if (!std::isfinite(value)) {
            std::printf("ParticleEmitter: [%s] %s holds a number that is not finite (%s); using 1\n",
                        section.c_str(), key.c_str(), word.c_str());
            continue;
        }
        part = value;
    }
    return Color(parts[0], parts[1], parts[2], parts[3]);
}

std::string FormatColor(const Color& c)
{
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << c.r << ' ' << c.g << ' ' << c.b << ' ' << c.a;
    return out.str();
}

BlendMode ParseBlendMode(const std::string& text)
{
    if (text == "NONE")
        return BlendMode::None;
    if (text == "ADDITIVE")
        return BlendMode::Additive;
    return BlendMode::Alpha;
}

const char* BlendModeName(BlendMode mode)
{
    switch (mode) {
    case BlendMode::None:
        return "NONE";
    case BlendMode::Additive:
        return "ADDITIVE";
    default:
        // Alpha, and any mode the file has no name for.
        return "ALPHA";
    }
}

const char* EmitterTypeName(ParticleEmitter::Type type)
{
    switch (type) {
    case ParticleEmitter::POINT:
        return "POINT";
    case ParticleEmitter::LINE:
        return "LINE";
    case ParticleEmitter::CONE:
        return "CONE";
    case ParticleEmitter::BOX:
        return "BOX";
    default:
        return "SPHERE";
    }
}

void WriteVector(INIFile& file, const std::string& section, const float3& v)
{
    file.Write(section, "X", v.x);
    file.Write(section, "Y", v.y);
    file.Write(section, "Z", v.z);
}

void WriteRange(INIFile& file, const std::string& section, const float2& r)
{
    file.Write(section, "MIN", r.x);
    file.Write(section, "MAX", r.y);
}

unsigned PoolOf(BlendMode mode)
{
    return mode == BlendMode::Alpha ? 0u : 1u;
}

} // namespace

ParticleEmitter::ParticleEmitter() : Renderable(Renderable::Type::ParticleEmitter) {}

ParticleEmitter::ParticleEmitter(const ParticleEmitter& other)
    : Renderable(other), m_emitterType(other.m_emitterType), m_maxParticles(other.m_maxParticles),
      m_particleTypeCount(other.m_particleTypeCount), m_gravity(other.m_gravity), m_position(other.m_position),
      m_lineEndpoint(other.m_lineEndpoint), m_coneDirection(other.m_coneDirection), m_coneAngle(other.m_coneAngle),
      m_sphereRadius(other.m_sphereRadius), m_box(other.m_box), m_velocityDamping(other.m_velocityDamping),
      m_angularVelocityDamping(other.m_angularVelocityDamping), m_emitting(other.m_emitting),
      m_scalingOut(other.m_scalingOut), m_fadingOut(other.m_fadingOut),
      m_currentSpawnInterval(other.m_currentSpawnInterval), m_lifespan(other.m_lifespan),
      m_spawnInterval(other.m_spawnInterval), m_speed(other.m_speed), m_scale(other.m_scale),
      m_angularVelocity(other.m_angularVelocity)
{
    for (unsigned i = 0; i < kTypeCount; ++i) {
        m_types[i] = other.m_types[i];
        m_textureNames[i] = other.m_textureNames[i];
    }
    for (auto& pool : m_pools)
        pool.assign(m_maxParticles, Particle{});
}

const std::string& ParticleEmitter::GetParticleTexture(unsigned index) const
{
    return m_textureNames[std::min(index, kTypeCount - 1)];
}

BlendMode ParticleEmitter::GetParticleBlendMode(unsigned index) const
{
    return m_types[std::min(index, kTypeCount - 1)].blendMode;
}

const Color& ParticleEmitter::GetParticleStartColor(unsigned index) const
{
    return m_types[std::min(index, kTypeCount - 1)].startColor;
}

const Color& ParticleEmitter::GetParticleEndColor(unsigned index) const
{
    return m_types[std::min(index, kTypeCount - 1)].endColor;
}

void ParticleEmitter::KillAll()
{
    for (auto& pool : m_pools)
        for (Particle& p : pool)
            p.alive = false;
    for (unsigned p = 0; p < kPoolCount; ++p)
        m_inUse[p] = m_sortedCount[p] = 0;
    m_liveCount = 0;
    m_emitTimer = 0.0f;
    m_spawnAccumulator = 0.0f;
}

void ParticleEmitter::SetMaxParticles(unsigned count)
{
    m_maxParticles = count;
    for (auto& pool : m_pools)
        pool.resize(count);
    KillAll();
}

void ParticleEmitter::SetParticleTypeCount(int count)
{
    m_particleTypeCount = (count >= 0 && count <= 4) ? static_cast<unsigned>(count) : kTypeCount;
}

void ParticleEmitter::SetParticleType(unsigned index, const std::string& texture, BlendMode blendMode,
                                      const Color& startColor, const Color& endColor)
{
    index = std::min(index, kTypeCount - 1);
    m_textureNames[index] = texture;
    // Without a render system the old handle would name the previous texture; Update resolves
    // the new name once the emitter is owned.
    m_types[index].texture = m_owner ? m_owner->GetTexture(texture) : Handle();
    m_types[index].blendMode = blendMode;
    m_types[index].startColor = startColor;
    m_types[index].endColor = endColor;
}

void ParticleEmitter::SetSpawnInterval(float min, float max)
{
    m_spawnInterval = float2(min, max);
    m_currentSpawnInterval = Random(m_spawnInterval);
    KillAll();
}

void ParticleEmitter::Emit(bool emit)
{
    m_emitting = emit;
    m_emitTimer = 0.0f;
    m_spawnAccumulator = 0.0f;
}

void ParticleEmitter::DestroyParticles()
{
    KillAll();
}

float ParticleEmitter::Random01()
{
    return static_cast<float>(std::rand() % 10000) * 0.0001f;
}

float ParticleEmitter::Random(const float2& range)
{
    const float lo = std::min(range.x, range.y);
    const float hi = std::max(range.x, range.y);
    return Random01() * (hi - lo) + lo;
}

bool ParticleEmitter::Load(const std::string& path)
{
    INIFile file;
    if (!file.Load(path))
        return false;

    unsigned maxParticles = file.Read<unsigned>("MAX_PARTICLES", "VALUE");
    if (maxParticles > kMaxParticlesCap) {
        std::printf("ParticleEmitter: %s asks for %u particles; keeping %u\n", path.c_str(), maxParticles,
                    kMaxParticlesCap);
        maxParticles = kMaxParticlesCap;
    }
    m_maxParticles = maxParticles;
    for (unsigned p = 0; p < kPoolCount; ++p) {
        m_pools[p].resize(maxParticles);
        m_inUse[p] = std::min<std::size_t>(m_inUse[p], maxParticles);
        m_sortedCount[p] = std::min(m_sortedCount[p], m_inUse[p]);
    }
    // Entries cut off by a smaller pool took their live particles with them.
    m_liveCount = 0;
    for (auto& pool : m_pools)
        for (const Particle& p : pool)
            m_liveCount += p.alive ? 1u : 0u;

    const unsigned typeCount = file.Read<unsigned>("PARTICLE_TYPES", "VALUE");
    if (typeCount > kTypeCount)
        std::printf("ParticleEmitter: %s names %u particle types; keeping %u\n", path.c_str(), typeCount, kTypeCount);
    m_particleTypeCount = std::min(typeCount, kTypeCount);

    for (unsigned i = 0; i < kTypeCount; ++i) {
        m_textureNames[i] = file.Read<std::string>(TypeSection(i), "TEXTURE");
        m_types[i].texture = Handle();
    }
    for (unsigned i = 0; i < kTypeCount; ++i)
        m_types[i].blendMode = ParseBlendMode(file.Read<std::string>(TypeSection(i), "BLEND_MODE"));
    for (unsigned i = 0; i < kTypeCount; ++i)
        m_types[i].startColor = ParseColor(file.Read<std::string>(TypeSection(i), "START_COLOR"), TypeSection(i),
                                           "START_COLOR");
    for (unsigned i = 0; i < kTypeCount; ++i)
        m_types[i].endColor =
            ParseColor(file.Read<std::string>(TypeSection(i), "END_COLOR"), TypeSection(i), "END_COLOR");

    m_gravity = ReadVector(file, "GRAVITY", float3());
    m_position = ReadVector(file, "POSITION", float3());
    m_lineEndpoint = ReadVector(file, "LINE_ENDPOINT", float3());
    m_coneDirection = ReadVector(file, "CONE_DIRECTION", float3());
    m_coneAngle = ReadFloat(file, "CONE_ANGLE", "VALUE", 45.0f);
    m_sphereRadius = ReadFloat(file, "SPHERE_RADIUS", "VALUE", 1.0f);
    m_box.Set(ReadFloat(file, "BOX", "MIN_X", 0.0f), ReadFloat(file, "BOX", "MIN_Y", 0.0f),
              ReadFloat(file, "BOX", "MIN_Z", 0.0f), ReadFloat(file, "BOX", "MAX_X", 0.0f),
              ReadFloat(file, "BOX", "MAX_Y", 0.0f), ReadFloat(file, "BOX", "MAX_Z", 0.0f));
    m_velocityDamping = ReadFloat(file, "VELOCITY_DAMPING", "VALUE", 0.0f);
    m_angularVelocityDamping = ReadFloat(file, "ANGULAR_VELOCITY_DAMPING", "VALUE", 0.0f);
    m_emitting = file.Read<bool>("EMIT", "VALUE");
    m_scalingOut = file.Read<bool>("SCALE_OUT", "VALUE");
    m_fadingOut = file.Read<bool>("FADE_OUT", "VALUE");
    m_lifespan = ReadRange(file, "PARTICLE_LIFESPAN", float2());
    m_spawnInterval = ReadRange(file, "PARTICLE_SPAWN_INTERVAL", float2());
    m_currentSpawnInterval = Random(m_spawnInterval);
    m_speed = ReadRange(file, "PARTICLE_SPEED", float2());
    m_scale = ReadRange(file, "PARTICLE_SCALE", float2(1.0f, 1.0f));
    m_angularVelocity = ReadRange(file, "PARTICLE_ANGULAR_VELOCITY", float2());

    const std::string type = file.Read<std::string>("EMITTER", "TYPE");
    if (type == "POINT")
        m_emitterType = POINT;
    else if (type == "LINE")
        m_emitterType = LINE;
    else if (type == "CONE")
        m_emitterType = CONE;
    else if (type == "BOX")
        m_emitterType = BOX;
    else if (type == "SPHERE")
        m_emitterType = SPHERE;
    return true;
}

bool ParticleEmitter::Save(const std::string& path) const
{
    INIFile file;
    file.Write("MAX_PARTICLES", "VALUE", m_maxParticles);
    file.Write("PARTICLE_TYPES", "VALUE", m_particleTypeCount);
    for (unsigned i = 0; i < kTypeCount; ++i)
        file.Write(TypeSection(i), "TEXTURE", m_textureNames[i]);
    for (unsigned i = 0; i < kTypeCount; ++i)
        file.Write(TypeSection(i), "BLEND_MODE", BlendModeName(m_types[i].blendMode));
    for (unsigned i = 0; i < kTypeCount; ++i)
        file.Write(TypeSection(i), "START_COLOR", FormatColor(m_types[i].startColor));
    for (unsigned i = 0; i < kTypeCount; ++i)
        file.Write(TypeSection(i), "END_COLOR", FormatColor(m_types[i].endColor));
    WriteVector(file, "GRAVITY", m_gravity);
    WriteVector(file, "POSITION", m_position);
    WriteVector(file, "LINE_ENDPOINT", m_lineEndpoint);
    WriteVector(file, "CONE_DIRECTION", m_coneDirection);
    file.Write("CONE_ANGLE", "VALUE", m_coneAngle);
    file.Write("SPHERE_RADIUS", "VALUE", m_sphereRadius);
    file.Write("BOX", "MIN_X", m_box.min.x);
    file.Write("BOX", "MIN_Y", m_box.min.y);
    file.Write("BOX", "MIN_Z", m_box.min.z);
    file.Write("BOX", "MAX_X", m_box.max.x);
    file.Write("BOX", "MAX_Y", m_box.max.y);
    file.Write("BOX", "MAX_Z", m_box.max.z);
    file.Write("VELOCITY_DAMPING", "VALUE", m_velocityDamping);
    file.Write("ANGULAR_VELOCITY_DAMPING", "VALUE", m_angularVelocityDamping);
    file.Write("EMIT", "VALUE", m_emitting);
    file.Write("SCALE_OUT", "VALUE", m_scalingOut);
    file.Write("FADE_OUT", "VALUE", m_fadingOut);
    WriteRange(file, "PARTICLE_LIFESPAN", m_lifespan);
    WriteRange(file, "PARTICLE_SPAWN_INTERVAL", m_spawnInterval);
    WriteRange(file, "PARTICLE_SPEED", m_speed);
    WriteRange(file, "PARTICLE_SCALE", m_scale);
    WriteRange(file, "PARTICLE_ANGULAR_VELOCITY", m_angularVelocity);
    file.Write("EMITTER", "TYPE", EmitterTypeName(m_emitterType));
    return file.Save(path);
}

void ParticleEmitter::Update(float dt)
{
    if (m_owner && m_particleTypeCount > 0) {
        for (unsigned k = 0; k < m_particleTypeCount; ++k)
            if (!m_types[k].texture)
                m_types[k].texture = m_owner->GetTexture(m_textureNames[k]);
    }
    if (!(dt > 0.0f))
        return;

    if (m_emitting) {
        m_emitTimer += dt;
        m_spawnAccumulator += dt;
        // The interval can be 0 (or negative from a careless range): spawning then stops at the
        // first full pool instead of looping for ever.
        while (m_spawnAccumulator >= m_currentSpawnInterval) {
            m_spawnAccumulator -= m_currentSpawnInterval;
            if (!SpawnParticle()) {
                m_spawnAccumulator = 0.0f;
                break;
            }
        }
        m_currentSpawnInterval = Random(m_spawnInterval);
    }

    SortPools();
    Simulate(dt);
}

void ParticleEmitter::SortPools()
{
    // The entries in use are live here: the last step packed them, and spawns append.
    const auto byTexture = [](const Particle& a, const Particle& b) { return *a.type->texture < *b.type->texture; };
    bool texturesChanged = false;
    for (unsigned k = 0; k < kTypeCount; ++k) {
        if (m_types[k].texture != m_sortedTextures[k]) {
            m_sortedTextures[k] = m_types[k].texture;
            texturesChanged = true;
        }
    }
    for (unsigned p = 0; p < kPoolCount; ++p) {
        const auto first = m_pools[p].begin();
        const auto end = first + static_cast<std::ptrdiff_t>(m_inUse[p]);
        if (texturesChanged) {
            std::stable_sort(first, end, byTexture);
        } else {
            // Only the particles spawned since the last sort move: each goes after the older
            // ones of its texture. With one texture in the pool none moves.
            for (auto spawned = first + static_cast<std::ptrdiff_t>(m_sortedCount[p]); spawned != end; ++spawned)
                std::rotate(std::upper_bound(first, spawned, *spawned, byTexture), spawned, spawned + 1);
        }
        m_sortedCount[p] = m_inUse[p];
    }
}

float3 ParticleEmitter::ConeDirection()
{
    m_coneDirection.Normalize();
    float3 axis = m_coneDirection;
    if (NearZero(axis.Length()))
        axis = float3(0.0f, 1.0f, 0.0f);
    const float theta = Random01() * kTwoPi - kPi;
    const float a = m_coneAngle * kDegreesToRadians;
    float3 reference(1.0f, 0.0f, 0.0f);
    float3 u = axis.Cross(reference);
    if (NearZero(u.Length())) {
        reference = float3(0.0f, 1.0f, 0.0f);
        u = axis.Cross(reference);
    }
    // A unit frame around the axis keeps every particle at exactly the cone angle, whatever the
    // axis' angle to the reference.
    u.Normalize();
    const float3 w = u.Cross(axis);
    return (axis * std::cos(a) + (u * std::cos(theta) + w * std::sin(theta)) * std::sin(a)).Normalized();
}

bool ParticleEmitter::SpawnParticle()
{
    if (m_particleTypeCount == 0)
        return false;
    const unsigned k = static_cast<unsigned>(std::rand()) % m_particleTypeCount;
    const unsigned poolIndex = PoolOf(m_types[k].blendMode);
    std::vector<Particle>& pool = m_pools[poolIndex];
    // Every entry in use is alive (the step packs them), so the first dead one is the next.
    std::size_t& inUse = m_inUse[poolIndex];
    if (inUse >= pool.size())
        return false;
    Particle& p = pool[inUse++];

    ++m_liveCount;
    p.type = &m_types[k];
    p.alive = true;
    p.age = 0.0f;
    p.lifespan = Random(m_lifespan);
    p.angularVelocity = Random(m_angularVelocity);
    p.scale = p.initialScale = Random(m_scale);
    p.color = m_types[k].startColor;
    p.rotation = 0.0f;
    p.alpha = 1.0f;
    const float speed = Random(m_speed);

    switch (m_emitterType) {
    case POINT:
        p.position = m_position;
        break;
    case LINE: {
        const float3 d = m_lineEndpoint - m_position;
        const float length = d.Length();
        p.position = m_position + d.Normalized() * (Random01() * length);
        break;
    }
    case BOX: {
        const float x = Random(float2(m_box.min.x, m_box.max.x));
        const float y = Random(float2(m_box.min.y, m_box.max.y));
        const float z = Random(float2(m_box.min.z, m_box.max.z));
        p.position = m_position + float3(x, y, z);
        break;
    }
    case SPHERE: {
        const float phi = Random01() * kTwoPi;
        const float psi = Random01() * kPi - kPi / 2.0f;
        p.position = m_position + float3(std::cos(psi) * std::cos(phi), std::sin(psi), std::cos(psi) * std::sin(phi)) *
                                      m_sphereRadius;
        break;
    }
    case CONE:
        p.position = m_position;
        p.velocity = ConeDirection() * speed;
        return true;
    default:
        return true;
    }

    const float dx = 2.0f * Random01() - 1.0f;
    const float dy = 2.0f * Random01() - 1.0f;
    const float dz = 2.0f * Random01() - 1.0f;
    p.velocity = float3(dx, dy, dz).Normalized() * speed;
    return true;
}

void ParticleEmitter::Simulate(float dt)
{
    const float fv = 1.0f - std::clamp(m_velocityDamping, 0.0f, 1.0f);
    const float fa = 1.0f - std::clamp(m_angularVelocityDamping, 0.0f, 1.0f);
    constexpr float inf = std::numeric_limits<float>::infinity();
    float3 lo(inf, inf, inf);
    float3 hi(-inf, -inf, -inf);

    for (unsigned poolIndex = 0; poolIndex < kPoolCount; ++poolIndex) {
        std::vector<Particle>& pool = m_pools[poolIndex];
        // Survivors move down over the entries of the dead, keeping their order (and so the
        // texture order), which leaves every dead entry after them.
        std::size_t kept = 0;
        std::size_t keptSorted = 0; // survivors from the sorted front
        for (std::size_t i = 0; i < m_inUse[poolIndex]; ++i) {
            Particle& p = pool[i];
            if (!p.alive)
                continue;
            p.age += dt;
            if (p.age >= p.lifespan) {
                p.alive = false;
                --m_liveCount;
                continue;
            }
            lo = float3(std::min(lo.x, p.position.x), std::min(lo.y, p.position.y), std::min(lo.z, p.position.z));
            hi = float3(std::max(hi.x, p.position.x), std::max(hi.y, p.position.y), std::max(hi.z, p.position.z));

            p.velocity += m_gravity * dt;
            p.velocity *= fv;
            p.position += p.velocity * dt;
            const float t = p.age / p.lifespan;
            const float u = 1.0f - t;
            p.angularVelocity *= fa;
            p.rotation += p.angularVelocity * dt;
            if (m_scalingOut)
                p.scale = p.initialScale * u;
            if (m_fadingOut)
                p.alpha = u;
            p.color = p.type->endColor * t + p.type->startColor * u;
            if (kept != i) {
                pool[kept] = p;
                p.alive = false;
            }
            ++kept;
            keptSorted += i < m_sortedCount[poolIndex] ? 1 : 0;
        }
        m_inUse[poolIndex] = kept;
        m_sortedCount[poolIndex] = keptSorted;
    }

    m_aabb.min = lo;
    m_aabb.max = hi;
    // An empty box (+inf / -inf) has no centre; keep it at the emitter rather than NaN.
    if (lo.x <= hi.x)
        m_aabb.ComputeCenter();
    else
        m_aabb.center = m_position;
}

} // namespace ZOR
