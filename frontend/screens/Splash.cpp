#include "frontend/screens/Splash.h"

#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/graphics/GraphicsComponent2D.h"

namespace quellor {

Splash::Splash(std::string screenName, const Picture& picture, float displayTime)
    : MenuScreen(std::move(screenName)), m_picture(picture), m_displayTime(displayTime)
{
}

void Splash::Start()
{
    Entity* entity = CreateOverlay(m_picture.entity, m_picture.material);
    if (!entity)
        return;
    if (auto* transform = entity->GetComponent<Transform2D>())
        PlaceCentered(*transform, m_picture.width, m_picture.height);
    if (m_picture.opaque)
        if (auto* sprite = entity->GetComponent<GraphicsComponent2D>())
            sprite->SetAlpha(1.0f);
}

void Splash::UpdateScreen(float dt)
{
    m_elapsed += dt;
    if (m_elapsed >= m_displayTime)
        Finish();
}

} // namespace quellor
