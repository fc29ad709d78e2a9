#include "engine/graphics/ModelComponent.h"

#include "engine/Transform3D.h"
#include "engine/graphics/ComponentLookup.h"
#include "engine/graphics/Convert.h"
#include "renderer/Renderable3D.h"
#include "renderer/Renderable3DSkinned.h"

namespace quellor {

template <class ModelRenderable>
void ModelComponent<ModelRenderable>::SetModel(const std::string& name)
{
    if (&name != &m_modelName) {
        m_modelName = name;
    }
    ModelRenderable::SetModel(name);
}

template <class ModelRenderable>
void ModelComponent<ModelRenderable>::SetMaterial(const std::string& name)
{
    if (&name != &m_materialName) {
        m_materialName = name;
    }
    ModelRenderable::SetMaterial(name);
}

template <class ModelRenderable>
void ModelComponent<ModelRenderable>::Update(float dt)
{
    if (!m_transform && !(m_transform = FindTransform3D(*this))) {
        return;
    }
    this->SetWorldMatrix(ToFloat4x4(m_transform->BuildWorldMatrix()));
    this->SetGlowStrength(m_glowStrength);
    ModelRenderable::Update(dt);
    this->Invalidate();
}

template <class ModelRenderable>
void ModelComponent<ModelRenderable>::ApplyNames()
{
    SetMaterial(m_materialName);
    SetModel(m_modelName);
}

template class ModelComponent<ZOR::Renderable3D>;
template class ModelComponent<ZOR::Renderable3DSkinned>;

} // namespace quellor
