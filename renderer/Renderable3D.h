#pragma once
#include "renderer/InstanceBuffer.h"
#include "renderer/ModelRenderable.h"
#include "renderer/math/AABB.h"
#include "renderer/math/float4x4.h"

#include <cstdint>

namespace ZOR {

class Material;
class Model;

// A static model drawn with a material at a world matrix. Its sort key groups equal model and
// material pairs so the geometry pass binds each pair once.
class Renderable3D : public ModelRenderable<ModelInstance> {
public:
    Renderable3D();

    void SetAcceptsDecals(bool on) { m_acceptsDecals = on; }
    bool GetAcceptsDecals() const { return m_acceptsDecals; }
    void SetInstanced(bool on) { m_instanced = on; }
    bool GetInstanced() const { return m_instanced; }
    // The two flags themselves, so that the engine can read and write them by name.
    bool& AcceptsDecalsFlag() { return m_acceptsDecals; }
    bool& InstancedFlag() { return m_instanced; }

private:
    bool m_acceptsDecals = false;
    bool m_instanced = false;
};

// The sort key of a model and material pair: the low four bytes of the model pointer and the
// material's id, each hashed, added.
std::uint32_t ModelMaterialHash(const Model* model, const Material* material);
// The world box of a model-space box under a matrix (its eight corners transformed).
AABB TransformBox(const AABB& box, const float4x4& world);

} // namespace ZOR
