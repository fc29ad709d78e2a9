#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/float2.h"
#include "renderer/math/float3.h"
#include "renderer/math/float4.h"

#include <cstddef>
#include <string>

namespace ZOR {

class Material;

// A camera-facing quad drawn with a material. The billboard pass copies the instance record
// whole into its instance buffer.
class BillboardedQuad : public Renderable {
public:
    struct Instance {
        float4 position;
        float2 scale;
    };

    BillboardedQuad();

    // Bounds: the quad's extent in x and y, and the larger of the two in z, since the quad turns
    // to face the camera.
    void Update(float dt) override;

    Material* GetMaterial() const { return m_material; }
    // Takes the owning render system's material of that name (its default for an unknown name)
    // and sorts by it. Does nothing before the quad is added to a render system.
    void SetMaterial(const std::string& name);
    // Takes the material (null: none, drawn with whatever is bound) and sorts by it.
    void SetMaterial(Material* material);

    // Points get w = 1; a float4 is taken whole.
    void SetPosition(const float3& position);
    void SetPosition(float x, float y, float z);
    void SetPosition(const float4& position);
    const float4& GetPosition() const { return m_instance.position; }
    void SetScale(const float2& scale) { m_instance.scale = scale; }
    void SetScale(float x, float y) { m_instance.scale.Set(x, y); }

    const Instance& GetInstance() const { return m_instance; }

private:
    Material* m_material = nullptr;
    Instance m_instance;
};

static_assert(sizeof(BillboardedQuad::Instance) == 24);
static_assert(offsetof(BillboardedQuad::Instance, position) == 0);
static_assert(offsetof(BillboardedQuad::Instance, scale) == 16);

} // namespace ZOR
