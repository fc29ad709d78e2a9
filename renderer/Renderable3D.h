#pragma once
#include "renderer/InstanceBuffer.h"
#include "renderer/Renderable.h"
#include "renderer/math/AABB.h"
#include "renderer/math/float4x4.h"

#include <cstdint>
#include <string>

namespace ZOR {

class Material;
class Model;

// A static model drawn with a material at a world matrix. Its sort key groups equal model and
// material pairs so the geometry pass binds each pair once.
class Renderable3D : public Renderable {
public:
    using Instance = ModelInstance;

    Renderable3D();

    // Both look the asset up in the owning render system; ignored before the renderable is added.
    // A model name that finds nothing leaves everything as it was.
    void SetModel(const std::string& name);
    void SetMaterial(const std::string& name);
    void SetMaterial(Material* material);
    void SetWorldMatrix(const float4x4& world);
    // Negative values become 0.
    void SetGlowStrength(float glow);
    void SetAcceptsDecals(bool on) { m_acceptsDecals = on; }
    bool GetAcceptsDecals() const { return m_acceptsDecals; }
    void SetInstanced(bool on) { m_instanced = on; }
    bool GetInstanced() const { return m_instanced; }
    // The two flags themselves, so that the engine can read and write them by name.
    bool& AcceptsDecalsFlag() { return m_acceptsDecals; }
    bool& InstancedFlag() { return m_instanced; }

    Model* GetModel() const { return m_model; }
    Material* GetMaterial() const { return m_material; }
    const AABB& GetModelBounds() const { return m_bounds; }
    const Instance& GetInstance() const { return m_instance; }

    // Refreshes the world box from the model box and the world matrix.
    void Update(float dt) override;

private:
    Model* m_model = nullptr;
    Material* m_material = nullptr;
    AABB m_bounds;
    Instance m_instance{float4x4(), float4x4(), 0.0f};
    bool m_acceptsDecals = false;
    bool m_instanced = false;
};

// The sort key of a model and material pair: the low four bytes of the model pointer and the
// material's id, each hashed, added.
std::uint32_t ModelMaterialHash(const Model* model, const Material* material);
// The world box of a model-space box under a matrix (its eight corners transformed).
AABB TransformBox(const AABB& box, const float4x4& world);

} // namespace ZOR
