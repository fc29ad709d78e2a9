#include "renderer/Renderable3DSkinned.h"

#include "renderer/Model.h"

namespace ZOR {

Renderable3DSkinned::Renderable3DSkinned() : ModelRenderable(Type::Renderable3DSkinned) {}

void Renderable3DSkinned::ModelFound(Model& model)
{
    m_controller.SetSkeleton(model.GetSkeleton());
}

void Renderable3DSkinned::Update(float dt)
{
    m_controller.Update(dt);
    ModelRenderable::Update(dt);
}

} // namespace ZOR
