#include "renderer/Renderable3DSkinned.h"

#include "renderer/Model.h"
#include "renderer/RenderSystem.h"
#include "renderer/Renderable3D.h"

namespace ZOR {

Renderable3DSkinned::Renderable3DSkinned() : Renderable(Type::Renderable3DSkinned) {}

void Renderable3DSkinned::SetModel(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    Model* model = m_owner->GetModel(name);
    if (model == nullptr)
        return;
    m_model = model;
    m_bounds = model->CalculateAABB();
    m_controller.SetSkeleton(model->GetSkeleton());
    m_hash = ModelMaterialHash(m_model, m_material);
}

void Renderable3DSkinned::SetMaterial(const std::string& name)
{
    if (m_owner == nullptr)
        return;
    SetMaterial(m_owner->GetMaterial(name));
}

void Renderable3DSkinned::SetMaterial(Material* material)
{
    m_material = material;
    m_hash = ModelMaterialHash(m_model, m_material);
}

void Renderable3DSkinned::SetWorldMatrix(const float4x4& world)
{
    m_instance.world = world;
    m_instance.normal = world.Inverse().Transpose();
}

void Renderable3DSkinned::SetGlowStrength(float glow)
{
    m_instance.glowStrength = glow > 0.0f ? glow : 0.0f;
}

void Renderable3DSkinned::Update(float dt)
{
    m_controller.Update(dt);
    m_aabb = TransformBox(m_bounds, m_instance.world);
}

} // namespace ZOR
