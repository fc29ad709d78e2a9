#pragma once
// What a gameplay component needs to be run by the GameLogicSystem: a link into one of the
// system's fixed slots and the work the slot runs for it each frame.
// A type joins its slot with one base: class X : public Component, public InLogicSlot<LogicSlot::X>.
#include "engine/IntrusiveList.h"

namespace quellor {

class QLObject;

// The slots in the order the system walks them each frame.
enum class LogicSlot : int {
    CharacterController,
    CharacterMotor3D,
    CameraLookAtComponent,
    LiftComponent,
    SnapshotComponent,
    SpawnPointComponent,
    LevelBoundaryComponent,
    DeathBoxComponent,
    ThumperComponent,
    OrbitComponent,
    AnimationPlayerComponent,
    AttackManager,
    SkinMountComponent,
    AnimationControllerComponent,
    FloatComponent,
    PlayerIdComponent,
    TagComponent,
    OrbComponent,
    AimAssistComponent,
    Count
};

class GameLogicMember {
public:
    GameLogicMember() = default;
    // A copy starts in no slot (the link sees to that).
    GameLogicMember(const GameLogicMember&) = default;
    GameLogicMember& operator=(const GameLogicMember&) = default;
    virtual ~GameLogicMember();

    // The slot the type joined through InLogicSlot.
    virtual LogicSlot GetLogicSlot() const = 0;
    // The work the slot runs once a frame; none unless the type has some.
    virtual void LogicUpdate(float dt);

    bool IsInLogicSlot() const { return m_logicLink.IsLinked(); }

    // Registers with, or leaves, the "GameLogicSystem" of the space "default"; without an engine
    // or such a system nothing happens.
    void JoinGameLogic();
    void LeaveGameLogic();

    IntrusiveLink<GameLogicMember> m_logicLink;
};

// The base that puts a type in its slot.
template <LogicSlot Slot>
class InLogicSlot : public GameLogicMember {
public:
    static constexpr LogicSlot kLogicSlot = Slot;
    LogicSlot GetLogicSlot() const final { return Slot; }
};

} // namespace quellor
