#pragma once
// Moves every camera of the game once a frame: plays the level's camera path on screen 0,
// then updates the third-person cameras and the menu cameras in the order they joined.
//
// The path: the automated camera components of a level are its nodes, kept sorted by
// m_priority (nodes of equal priority keep the order they joined in). At path time t each
// node in turn holds for its m_waitTime, then travels to the next node in m_timeToNextNode;
// the sampled position and view direction (the node's local +X axis) are followed with a
// first-order smoothing at 5/s, snapped onto on the first frame after the node list changed.
#include "engine/System.h"
#include "engine/reflection/Vec4.h"

#include <vector>

namespace ZOR {
class Camera;
}

namespace quellor {

class AutomatedCameraComponent;
class GraphicsSystem;
class MenuCameraComponent;
class ThirdPersonCameraComponent;

class CameraSystem : public System {
    QUELLOR_REFLECT_KEYED(CameraSystem)

    // Rate of the path's first-order smoothing, per second.
    static constexpr float kSmoothing = 5.0f;

    CameraSystem() = default;
    CameraSystem(const CameraSystem&) = delete;
    CameraSystem& operator=(const CameraSystem&) = delete;
    ~CameraSystem() override;

    // The path (unless disabled), the third-person cameras, the menu cameras, then the path
    // time grows by dt, always.
    void Update(float dt) override;

    // While set, the path's nodes are still drawn but the camera is not moved by the path.
    void SetAutomatedCameraDisabled(bool disabled) { m_automatedCameraDisabled = disabled; }
    bool IsAutomatedCameraDisabled() const { return m_automatedCameraDisabled; }

    // Appends, re-sorts by priority and restarts the path.
    void AddAutomatedCamera(AutomatedCameraComponent* camera);
    // Takes out the first equal entry (if any) and restarts the path regardless.
    void RemoveAutomatedCamera(AutomatedCameraComponent* camera);
    // Append; take out the first equal entry. The path time is not touched.
    void AddThirdPersonCamera(ThirdPersonCameraComponent* camera);
    void RemoveThirdPersonCamera(ThirdPersonCameraComponent* camera);
    void AddMenuCamera(MenuCameraComponent* camera);
    void RemoveMenuCamera(MenuCameraComponent* camera);

    // Reflected for level and action data; both act on screen 0 of the space "default",
    // whatever object they are called on. The eye moves at once; the view matrix follows at
    // the next look.
    void SetCameraPos(float x, float y, float z);
    void SetCameraLook(float x, float y, float z);

    // The path at time t: a node's position (w = 1), or its unit local +X axis (w = 0). Zero
    // with no nodes.
    Vec4 SamplePathPosition(float t) const;
    Vec4 SamplePathDirection(float t) const;

    float GetPathTime() const { return m_pathTime; }
    const Vec4& GetCurrentPosition() const { return m_currentPosition; }
    const Vec4& GetCurrentDirection() const { return m_currentDirection; }
    const std::vector<AutomatedCameraComponent*>& GetAutomatedCameras() const { return m_automatedCameras; }
    const std::vector<ThirdPersonCameraComponent*>& GetThirdPersonCameras() const { return m_thirdPersonCameras; }
    const std::vector<MenuCameraComponent*>& GetMenuCameras() const { return m_menuCameras; }

private:
    template <class Value>
    Vec4 SamplePath(float t, Value value) const;
    void PlayPath(float dt, GraphicsSystem* graphics);

    bool m_automatedCameraDisabled = false;
    float m_pathTime = 0.0f;
    Vec4 m_currentPosition;
    Vec4 m_targetPosition;
    Vec4 m_currentDirection;
    Vec4 m_targetDirection;
    std::vector<AutomatedCameraComponent*> m_automatedCameras;
    std::vector<ThirdPersonCameraComponent*> m_thirdPersonCameras;
    std::vector<MenuCameraComponent*> m_menuCameras;
};

} // namespace quellor
