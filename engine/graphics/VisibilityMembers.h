#pragma once
// The four per-screen visibility flags of a renderable, reflected as "m_visibleScreen1" to
// "m_visibleScreen4". They live in the renderer's base, so they are reached through accessors.
#include "engine/reflection/MetaRegistrar.h"

namespace quellor {

// Class derives from ZOR::Renderable and exposes VisibleFlag(i) (a reference to flag i).
template <class Class>
void RegisterVisibilityMembers(MetaRegistrar<Class>& reg)
{
    reg.MemberAt("m_visibleScreen1", [](Class& c) -> bool& { return c.VisibleFlag(0); });
    reg.MemberAt("m_visibleScreen2", [](Class& c) -> bool& { return c.VisibleFlag(1); });
    reg.MemberAt("m_visibleScreen3", [](Class& c) -> bool& { return c.VisibleFlag(2); });
    reg.MemberAt("m_visibleScreen4", [](Class& c) -> bool& { return c.VisibleFlag(3); });
}

} // namespace quellor
