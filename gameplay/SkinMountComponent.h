#pragma once
// Carries a model (a hat, a mask) on a bone of a character: its entity follows the bone of the
// host's skinned model each frame, or, without a host, the bone of the player whose controller
// number is m_controllerID.
#include "engine/Component.h"
#include "gameplay/GameLogicMember.h"
#include "engine/EntityRef.h"

#include <string>

namespace quellor {

class Entity;
class GraphicsComponent3D;

class SkinMountComponent : public Component, public InLogicSlot<LogicSlot::SkinMountComponent> {
    QUELLOR_REFLECT_KEYED(SkinMountComponent)

    SkinMountComponent() = default;
    SkinMountComponent(const SkinMountComponent&) = delete;
    SkinMountComponent& operator=(const SkinMountComponent&) = delete;
    ~SkinMountComponent() override;

    void Initialize() override;
    void Uninitialize() override;

    // Store the name; once the mount's model component exists, hand it on.
    void SetMountName(std::string name);
    void SetMatName(std::string name);

    // The character to follow instead of a player (the character-select preview). Once set, a
    // host that is gone means the mount stays where it is.
    void SetTarget(Entity* host) { m_target = EntityRef(host); }
    Entity* GetTarget() const { return m_target.Get(); }

    // The first call creates the mount's model component; each call places the entity on the
    // bone of every followed character in turn (the last one stays).
    void Update(float dt);
    void LogicUpdate(float dt) override { Update(dt); }

    GraphicsComponent3D* GetMountGraphic() const { return m_mountGraphic; }

    int m_controllerID = 0;
    int m_boneNum = 5;
    std::string m_mountName = "cube.model";
    std::string m_matName = "default.mat";

private:
    // Hands the model name on, with a warning when the render system has no such model.
    void ShowModel();
    void PlaceOn(Entity& character);

    EntityRef m_target;
    GraphicsComponent3D* m_mountGraphic = nullptr;
};

} // namespace quellor
