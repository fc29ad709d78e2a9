#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4x4.h"

#include <cstddef>
#include <string>

namespace ZOR {

// A box that projects a texture straight down onto the geometry inside it. The owner writes
// m_position and m_scale, then calls Update and Invalidate; the decal pass copies the instance
// record whole into its instance buffer.
class Decal : public Renderable {
public:
    struct Instance {
        float4x4 world;     // unit cube -> the decal's box
        float4x4 projector; // world -> the projector's clip space, x along +z and y along +x
        float alpha;
    };

    Decal();

    // Rebuilds the world and projector matrices from m_position and m_scale, then the bounds from
    // the new world matrix, so the octree sees the decal where it is now.
    void Update(float dt) override;

    void SetTexture(const std::string& name) { m_texture = name; }
    const std::string& GetTexture() const { return m_texture; }
    // Clamped to 0..1.
    void SetAlpha(float alpha);
    float GetAlpha() const { return m_instance.alpha; }
    const Instance& GetInstance() const { return m_instance; }

    float3 m_position;
    float3 m_scale;

private:
    std::string m_texture;
    Instance m_instance;
};

static_assert(sizeof(Decal::Instance) == 132);
static_assert(offsetof(Decal::Instance, world) == 0);
static_assert(offsetof(Decal::Instance, projector) == 64);
static_assert(offsetof(Decal::Instance, alpha) == 128);

} // namespace ZOR
