#include "frontend/ui/UISystem.h"

#include "engine/reflection/MetaRegistrar.h"
#include "frontend/ui/ButtonComponent.h"
#include "frontend/ui/CheckboxComponent.h"
#include "frontend/ui/UIComponent.h"

#include <algorithm>

namespace quellor {

namespace {

template<typename T>
bool RemoveFirst(std::vector<T*>& list, T* component)
{
    auto found = std::find(list.begin(), list.end(), component);
    if (found == list.end())
        return false;
    list.erase(found);
    return true;
}

// By index, so that a callback adding or removing a control cannot leave the walk on freed storage.
template<typename T>
void UpdateAll(std::vector<T*>& list, float dt)
{
    for (std::size_t i = 0; i < list.size(); ++i)
        list[i]->Update(dt);
}

} // namespace

QUELLOR_RECORD(UISystem, System, DerivedMetaNotPOD, NoID) {}

UISystem::~UISystem() = default;

UISystem* UISystem::Of(const QLObject& object)
{
    return dynamic_cast<UISystem*>(object.FindSystem(ID));
}

void UISystem::Update(float dt)
{
    UpdateAll(m_controls, dt);
    UpdateAll(m_buttons, dt);
    UpdateAll(m_checkboxes, dt);
}

bool UISystem::Remove(UIComponent* component)
{
    return RemoveFirst(m_controls, component);
}

bool UISystem::Remove(ButtonComponent* component)
{
    return RemoveFirst(m_buttons, component);
}

bool UISystem::Remove(CheckboxComponent* component)
{
    return RemoveFirst(m_checkboxes, component);
}

} // namespace quellor
