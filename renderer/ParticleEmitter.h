#pragma once
#include "renderer/Renderable.h"
#include "renderer/dx11/RenderContext.h"
#include "renderer/math/AABB.h"
#include "renderer/math/Color.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace ZOR {

// Spawns and simulates textured particles from one of five shapes. Settings come from setters or
// a ".pe" file; the particle pass draws the two pools, which never grow while simulating.
class ParticleEmitter : public Renderable {
public:
    // Emitter shape.
    enum Type : std::uint32_t { POINT = 0, LINE = 1, CONE = 2, BOX = 3, SPHERE = 4 };

    struct ParticleType {
        Handle texture;
        BlendMode blendMode = BlendMode::Alpha;
        Color startColor{1.0f, 1.0f, 1.0f, 1.0f};
        Color endColor{1.0f, 1.0f, 1.0f, 1.0f};
    };

    struct Particle {
        const ParticleType* type = nullptr;
        float3 position;
        float scale = 0.0f;
        float rotation = 0.0f;
        float alpha = 0.0f;
        Color color;
        float3 velocity;
        float initialScale = 0.0f;
        float age = 0.0f;
        float lifespan = 0.0f;
        float angularVelocity = 0.0f;
        bool alive = false;
    };

    static constexpr unsigned kTypeCount = 5;
    // Pool 0 holds alpha-blended particles, pool 1 all others.
    static constexpr unsigned kPoolCount = 2;
    // The largest pool a file may ask for; a bigger count is taken as this one.
    static constexpr unsigned kMaxParticlesCap = 65536;

    ParticleEmitter();
    // Takes every setting; the pools are as large as the other's with every particle dead.
    ParticleEmitter(const ParticleEmitter& other);
    // Particles point at their emitter's types; a copy assigned over them would leave them wrong.
    ParticleEmitter& operator=(const ParticleEmitter&) = delete;

    // Resolves textures, spawns on the emit timer, moves every live particle and rebuilds the
    // bounds from where the particles were before this step.
    void Update(float dt) override;

    // Fills the settings from a ".pe" file. Returns false and changes nothing when the file cannot
    // be read. Hostile values are clamped or replaced by the setting's default with a log line.
    bool Load(const std::string& path);
    bool Save(const std::string& path) const;

    void SetMaxParticles(unsigned count);
    void SetParticleTypeCount(int count);
    // An index above 4 is taken as 4. Without a render system only the name is kept; Update
    // resolves it once the emitter has one.
    void SetParticleType(unsigned index, const std::string& texture, BlendMode blendMode, const Color& startColor,
                         const Color& endColor);
    void SetSpawnInterval(float min, float max);
    void Emit(bool emit);
    void ScaleOut(bool scaleOut) { m_scalingOut = scaleOut; }
    void FadeOut(bool fadeOut) { m_fadingOut = fadeOut; }
    void DestroyParticles();

    void SetEmitterType(Type type) { m_emitterType = type; }
    void SetPosition(const float3& p) { m_position = p; }
    void SetPosition(float x, float y, float z) { m_position = float3(x, y, z); }
    void SetGravity(const float3& g) { m_gravity = g; }
    void SetGravity(float x, float y, float z) { m_gravity = float3(x, y, z); }
    void SetLineEndpoint(const float3& p) { m_lineEndpoint = p; }
    void SetLineEndpoint(float x, float y, float z) { m_lineEndpoint = float3(x, y, z); }
    void SetConeDirection(const float3& d) { m_coneDirection = d; }
    void SetConeDirection(float x, float y, float z) { m_coneDirection = float3(x, y, z); }
    void SetConeDegreeAngle(float degrees) { m_coneAngle = degrees; }
    void SetSphereRadius(float radius) { m_sphereRadius = radius; }
    void SetBox(const AABB& box) { m_box = box; }
    void SetVelocityDamping(float damping) { m_velocityDamping = damping; }
    void SetAngularVelocityDamping(float damping) { m_angularVelocityDamping = damping; }
    void SetLifespan(float min, float max) { m_lifespan = float2(min, max); }
    void SetSpeed(float min, float max) { m_speed = float2(min, max); }
    void SetScale(float min, float max) { m_scale = float2(min, max); }
    void SetAngularVelocity(float min, float max) { m_angularVelocity = float2(min, max); }

    Type GetEmitterType() const { return m_emitterType; }
    const float3& GetPosition() const { return m_position; }
    const float3& GetGravity() const { return m_gravity; }
    const float3& GetLineEndpoint() const { return m_lineEndpoint; }
    const float3& GetConeDirection() const { return m_coneDirection; }
    float GetConeDegreeAngle() const { return m_coneAngle; }
    float GetSphereRadius() const { return m_sphereRadius; }
    const AABB& GetBox() const { return m_box; }
    float GetVelocityDamping() const { return m_velocityDamping; }
    float GetAngularVelocityDamping() const { return m_angularVelocityDamping; }
    const float2& GetLifespan() const { return m_lifespan; }
    const float2& GetSpawnInterval() const { return m_spawnInterval; }
    const float2& GetSpeed() const { return m_speed; }
    const float2& GetScale() const { return m_scale; }
    const float2& GetAngularVelocity() const { return m_angularVelocity; }
    unsigned GetMaxParticles() const { return m_maxParticles; }
    unsigned GetParticleTypeCount() const { return m_particleTypeCount; }
    // Type indices above 4 read type 4.
    const std::string& GetParticleTexture(unsigned index) const;
    BlendMode GetParticleBlendMode(unsigned index) const;
    const Color& GetParticleStartColor(unsigned index) const;
    const Color& GetParticleEndColor(unsigned index) const;
    bool GetEmitting() const { return m_emitting; }
    bool GetScalingOut() const { return m_scalingOut; }
    bool GetFadingOut() const { return m_fadingOut; }
    float GetTimer() const { return m_emitTimer; }
    float GetMaxLifetime() const { return m_lifespan.y; }

    // A whole pool: live entries first, in texture order after each update, the dead after them.
    const std::vector<Particle>& GetPool(unsigned pool) const { return m_pools[pool < kPoolCount ? pool : 1]; }
    // What the particle pass draws: the leading entries of a pool that may be live; every entry
    // past them is dead.
    std::span<const Particle> GetPoolInUse(unsigned pool) const
    {
        const unsigned p = pool < kPoolCount ? pool : 1;
        return std::span<const Particle>(m_pools[p].data(), m_inUse[p]);
    }
    const ParticleType& GetParticleType(unsigned index) const { return m_types[index < kTypeCount ? index : 4]; }
    unsigned GetParticleCount() const { return m_liveCount; }
    float GetSpawnAccumulator() const { return m_spawnAccumulator; }
    float GetCurrentSpawnInterval() const { return m_currentSpawnInterval; }

private:
    bool SpawnParticle();
    void Simulate(float dt);
    void SortPools();
    void KillAll();
    float3 ConeDirection();
    static float Random(const float2& range);
    static float Random01();

    Type m_emitterType = POINT;
    std::vector<Particle> m_pools[kPoolCount];
    // Entries [0, m_inUse[p]) of pool p may be live, the rest are dead. The simulation step packs
    // the live ones at the front in their order, so the next spawn takes entry m_inUse[p], the
    // first dead one.
    std::size_t m_inUse[kPoolCount] = {0, 0};
    // Entries [0, m_sortedCount[p]) are in texture order; those after came since the last sort.
    std::size_t m_sortedCount[kPoolCount] = {0, 0};
    // The texture each type's particles were last sorted by: when one changes (resolved late, or
    // a file loaded over live particles) the pools are sorted whole again.
    Handle m_sortedTextures[kTypeCount];
    unsigned m_liveCount = 0;
    unsigned m_maxParticles = 0;
    ParticleType m_types[kTypeCount];
    unsigned m_particleTypeCount = 1;
    std::string m_textureNames[kTypeCount];
    float3 m_gravity, m_position, m_lineEndpoint, m_coneDirection;
    float m_coneAngle = 45.0f;
    float m_sphereRadius = 1.0f;
    AABB m_box;
    float m_velocityDamping = 0.0f;
    float m_angularVelocityDamping = 0.0f;
    bool m_emitting = false;
    bool m_scalingOut = false;
    bool m_fadingOut = false;
    float m_emitTimer = 0.0f;
    float m_spawnAccumulator = 0.0f;
    float m_currentSpawnInterval = 0.0f;
    float2 m_lifespan;
    float2 m_spawnInterval;
    float2 m_speed;
    float2 m_scale{1.0f, 1.0f};
    float2 m_angularVelocity;
};

} // namespace ZOR
