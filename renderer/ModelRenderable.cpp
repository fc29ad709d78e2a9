#include "renderer/ModelRenderable.h"

#include "renderer/Model.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"
#include "renderer/Renderable3DSkinned.h"

namespace ZOR {

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::SetModel(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    Model* model = m_owner->GetModel(name);
    if (model == nullptr)
        return;
    m_model = model;
    m_bounds = model->CalculateAABB();
    ModelFound(*model);
    m_hash = ModelMaterialHash(m_model, m_material);
}

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::SetMaterial(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    SetMaterial(m_owner->GetMaterial(name));
}

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::SetMaterial(Material* material)
{
    m_material = material;
    m_hash = ModelMaterialHash(m_model, m_material);
}

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::SetWorldMatrix(const float4x4& world)
{
    m_instance.world = world;
    m_instance.normal = world.Inverse().Transpose();
}

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::SetGlowStrength(float glow)
{
    m_instance.glowStrength = glow > 0.0f ? glow : 0.0f;
}

template <typename InstanceRecord>
void ModelRenderable<InstanceRecord>::Update(float)
{
    m_aabb = TransformBox(m_bounds, m_instance.world);
}

template class ModelRenderable<ModelInstance>;
template class ModelRenderable<SkinnedModelInstance>;

} // namespace ZOR
