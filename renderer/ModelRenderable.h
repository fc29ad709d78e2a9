#pragma once
#include "renderer/Renderable.h"
#include "renderer/math/AABB.h"
#include "renderer/math/float4x4.h"

#include <string>

namespace ZOR {

class Material;
class Model;

// What a static and a skinned model have in common: a model and a material from the owning render
// system, the model-space box, and the per-draw record that holds the world matrix. Instance is
// that record; it starts with the world matrix, the normal matrix and the glow strength.
template <typename InstanceRecord>
class ModelRenderable : public Renderable {
public:
    using Instance = InstanceRecord;

    // Both look the asset up in the owning render system; ignored before the renderable is added.
    // A model name that finds nothing leaves everything as it was.
    void SetModel(const std::string& name);
    void SetMaterial(const std::string& name);
    void SetMaterial(Material* material);
    void SetWorldMatrix(const float4x4& world);
    // Negative values become 0.
    void SetGlowStrength(float glow);

    Model* GetModel() const { return m_model; }
    Material* GetMaterial() const { return m_material; }
    const AABB& GetModelBounds() const { return m_bounds; }
    const Instance& GetInstance() const { return m_instance; }

    // Refreshes the world box from the model box and the world matrix.
    void Update(float dt) override;

protected:
    explicit ModelRenderable(Type type) : Renderable(type) {}

    // Called by SetModel with the model it found, before the sort key is recomputed.
    virtual void ModelFound(Model& model) { (void)model; }

private:
    Model* m_model = nullptr;
    Material* m_material = nullptr;
    AABB m_bounds;
    Instance m_instance{};
};

} // namespace ZOR
