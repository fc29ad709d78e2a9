#pragma once
#include "renderer/math/AABB.h"

#include <cstdint>

namespace ZOR {

class Octree;
class RenderSystem;

// Base of everything the render system draws. Owners remove a renderable from its render system
// before destroying it; destruction itself takes it out of nothing.
class Renderable {
public:
    // The render system sorts renderables into its per-kind lists by this tag.
    enum class Type : std::uint32_t {
        Renderable2D = 0,
        Text = 1,
        DirectionalLight = 2,
        DynamicMesh = 3,
        Renderable3D = 4,
        Renderable3DSkinned = 5,
        PointLight = 6,
        SpotLight = 7,
        Decal = 8,
        BillboardedQuad = 9,
        ParticleEmitter = 10,
    };

    explicit Renderable(Type type);
    virtual ~Renderable() = default;

    // A copy takes every field but the holding node: no node holds the copy, and a node pointer
    // carried over would outlive a tree rebuilt under it.
    Renderable(const Renderable& other);
    Renderable& operator=(const Renderable& other);

    virtual void Update(float dt);

    Type GetType() const { return m_type; }
    const AABB& GetAABB() const { return m_aabb; }
    Octree* GetOctree() const { return m_octree; }
    std::uint32_t GetHash() const { return m_hash; }

    // -1 (and any negative screen) reads screen 0; a screen past the last reads whether the
    // renderable is visible on all four, mirroring what SetVisible does with such numbers.
    bool GetVisible(int screen) const;
    // A negative screen sets screen 0 only, 0 to 3 set that screen, 4 or more set all four.
    void SetVisible(bool visible, int screen);
    // The flag of screen 0-3 itself, so that the engine can read and write it by name.
    bool& VisibleFlag(int screen) { return m_visible[screen]; }

    // Re-files a moved renderable from the root of the tree that holds it. A renderable held by
    // no node (never added, or removed) is left alone.
    void Invalidate();

    static constexpr int kScreenCount = 4;

protected:
    friend class Octree;
    friend class RenderSystem;

    Type m_type;
    Octree* m_octree = nullptr;
    RenderSystem* m_owner = nullptr;
    AABB m_aabb;
    bool m_visible[kScreenCount] = {true, true, true, true};
    std::uint32_t m_hash = 0;
};

} // namespace ZOR
