#include "frontend/screens/BoxIn.h"

#include "engine/ActionList.h"
#include "engine/Easing.h"
#include "engine/Entity.h"
#include "engine/Transform2D.h"
#include "engine/TweenTo.h"
#include "engine/graphics/GraphicsComponent2D.h"
#include "engine/reflection/MetaRegistrar.h"
#include "frontend/screens/LevelProps.h"

namespace quellor {

QUELLOR_RECORD(BoxIn, Action, DerivedMetaNotPODNoDefNoCopy, NoID) {}

BoxIn::BoxIn(float duration, int first, int second)
    : MenuScreen("BoxIn"), m_duration(duration), m_first(first), m_second(second)
{
}

BoxIn::~BoxIn() = default;

void BoxIn::Start()
{
    // The quad outlasts the box-in: the screen that follows, or the level code, clears it.
    Entity* quad = CreateEntity(kQuadName, true, true);
    if (quad) {
        m_quad = quad;
        if (auto* transform = quad->AddComponent<Transform2D>(true))
            PlaceFullScreen(*transform);
        if (auto* sprite = quad->AddComponent<GraphicsComponent2D>(true)) {
            sprite->SetAlpha(0.0f);
            sprite->SetMaterial(kQuadMaterial);
        }
    }
    auto* rise = new TweenTo(MakeDelegate(this, &BoxIn::GetQuadAlpha), MakeDelegate(this, &BoxIn::SetQuadAlpha),
                             m_duration, 1.0f, Easing::kLinear, false);
    ActionList* parallel = MakeParallel(rise);
    parallel->Unblock();
    auto* own = new ActionList(true, true);
    own->PushBack(parallel, 0);
    // Tracked: ending the box-in first cancels the rise, which writes into it.
    m_rise.Reset(RunTracked(own, kLane));
    m_rising = true;
}

void BoxIn::UpdateScreen(float)
{
    if (m_rising && !m_rise)
        Finish();
}

float BoxIn::GetQuadAlpha() const
{
    const GraphicsComponent2D* sprite = SpriteOf(m_quad);
    return sprite ? sprite->GetAlpha() : 0.0f;
}

void BoxIn::SetQuadAlpha(float alpha)
{
    if (GraphicsComponent2D* sprite = SpriteOf(m_quad))
        sprite->SetAlpha(alpha);
}

} // namespace quellor
